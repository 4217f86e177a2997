#pragma once
// Files the authors' commands read and write: a video named on the command line as the clip
// device should be given it, and pictures saved so that a failure leaves what was there.
#include <QImage>
#include <QString>

namespace hw::tool {

// A path from the command line for TMediaPlayer: one with ".." is made absolute and clean
// (content lookup refuses "..", which is the author's own business here).
QString commandLinePath(const QString& argument);

// Why out may not be written when input is read: the same file (through symbolic or hard
// links too) would be overwritten by what is made from it. Empty when it may.
QString sameFileRefusal(const QString& input, const QString& out);

// Writes image as PNG beside out and moves it into place; false with error set on failure,
// and out as it was.
bool savePng(const QImage& image, const QString& out, QString& error);

} // namespace hw::tool
