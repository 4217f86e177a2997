#pragma once
// Case-insensitive comparison of single-byte content text. Names in content files are in
// the Windows-1252 code page, so letters beyond ASCII (É and é, Š and š) fold too.
#include <QByteArrayView>
#include <cstdint>

namespace hw {

bool equalsIgnoringAnsiCase(QByteArrayView a, QByteArrayView b);
// A hash that agrees for texts that are equal without regard to case.
uint32_t foldedAnsiHash(QByteArrayView text);

} // namespace hw
