#pragma once
// Content text is single-byte and kept as read; it becomes Unicode only where it reaches
// the screen, as Windows-1252.
#include <QByteArray>
#include <QString>

namespace hw {

QString ansiToQString(const QByteArray& bytes);
QByteArray qstringToAnsi(const QString& text); // inverse of ansiToQString for its output

} // namespace hw
