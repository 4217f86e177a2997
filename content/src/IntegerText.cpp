#include "hw/content/IntegerText.h"

#include "hw/AnsiText.h"
#include "hw/Exception.h"

namespace hw {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void fail(const QByteArray& text)
{
    throw EContentError(QStringLiteral("'%1' is not a valid integer value").arg(ansiToQString(text)));
}

} // namespace

int32_t strToInt(const QByteArray& text)
{
    const char* p = text.constData();
    const char* const end = p + text.size();
    while (p < end && *p == ' ')
        ++p;
    if (p < end && *p == '$') {
        ++p;
        if (p == end)
            fail(text);
        uint32_t value = 0;
        int significant = 0;
        for (; p < end; ++p) {
            const int digit = hexDigit(*p);
            if (digit < 0)
                fail(text);
            if (significant > 0 || digit != 0)
                ++significant;
            if (significant > 8)
                fail(text);
            value = (value << 4) | static_cast<uint32_t>(digit);
        }
        return static_cast<int32_t>(value); // the 32-bit pattern: $FFFFFFFF is -1
    }
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end)
        fail(text);
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9')
            fail(text);
        value = value * 10 + (*p - '0');
        if (value > limit)
            fail(text);
    }
    return static_cast<int32_t>(negative ? -value : value);
}

} // namespace hw
