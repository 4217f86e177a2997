#pragma once
#include <QByteArray>
#include <cstdint>

namespace hw {

// The one rule by which content text becomes a 32-bit signed integer: leading spaces,
// then an optionally signed decimal in range or "$" and up to eight hexadecimal digits,
// and nothing after. Throws hw::EContentError "'%s' is not a valid integer value".
int32_t strToInt(const QByteArray& text);

} // namespace hw
