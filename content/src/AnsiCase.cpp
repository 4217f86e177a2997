#include "AnsiCase.h"

#include <array>

namespace hw {
namespace {

constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i);
    for (size_t c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 32);
    // Windows-1252: Š Œ Ž Ÿ, and À..Þ except the multiplication sign.
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    for (size_t c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[c] = static_cast<unsigned char>(c + 32);
    return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

} // namespace

bool equalsIgnoringAnsiCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
    const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
    for (qsizetype i = 0; i < a.size(); ++i)
        if (pa[i] != pb[i] && kFold[pa[i]] != kFold[pb[i]])
            return false;
    return true;
}

uint32_t foldedAnsiHash(QByteArrayView text)
{
    // FNV-1a over every folded byte: a hash of a few bytes lets a file of many names that
    // differ only elsewhere ("Topics 1000" .. "Topics 9999") crowd into few buckets.
    uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= kFold[static_cast<unsigned char>(c)];
        hash *= 16777619u;
    }
    return hash;
}

} // namespace hw
