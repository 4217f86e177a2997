#pragma once
// Integer conversions that cannot wrap. Counts, sizes and stamps arrive 64-bit or unsigned
// (from FFmpeg, from files, from containers) while Qt and the frame tables count in int; a
// value that does not fit is either refused or held at the nearest end, never wrapped.
#include <concepts>
#include <cstddef>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

namespace hw {

// The value when To holds it, else nothing.
template <std::integral To, std::integral From>
constexpr std::optional<To> fitting(From v)
{
    if (!std::in_range<To>(v))
        return std::nullopt;
    return static_cast<To>(v);
}

// The value, or the nearest end of To's range when To does not hold it: a negative count
// becomes zero rather than a huge unsigned one.
template <std::integral To, std::integral From>
constexpr To clamped(From v)
{
    if (std::cmp_less(v, std::numeric_limits<To>::min()))
        return std::numeric_limits<To>::min();
    if (std::cmp_greater(v, std::numeric_limits<To>::max()))
        return std::numeric_limits<To>::max();
    return static_cast<To>(v);
}

// A container's element count as the int that Qt and the frame tables use.
template <class Container>
constexpr int intSize(const Container& c)
{
    return clamped<int>(std::size(c));
}

} // namespace hw
