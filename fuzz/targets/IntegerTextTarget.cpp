// The integer rule against an independent reading: leading spaces, then a signed decimal
// within 32 bits or "$" and at most eight significant hexadecimal digits, nothing after.
// Every other text fails with the exact message, quoting the text as read.
#include "FuzzTargets.h"

#include "hw/AnsiText.h"
#include "hw/Exception.h"
#include "hw/content/IntegerText.h"

#include <QByteArray>

#include <cctype>
#include <optional>

namespace hw::fuzz {
namespace {

std::optional<int32_t> reference(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    QByteArray rest = text.mid(i);
    if (rest.startsWith('$')) {
        QByteArray digits = rest.mid(1);
        if (digits.isEmpty())
            return std::nullopt;
        for (char c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
        while (digits.size() > 1 && digits[0] == '0')
            digits.remove(0, 1);
        if (digits.size() > 8)
            return std::nullopt;
        return static_cast<int32_t>(digits.toUInt(nullptr, 16));
    }
    bool negative = false;
    if (rest.startsWith('+') || rest.startsWith('-')) {
        negative = rest[0] == '-';
        rest.remove(0, 1);
    }
    if (rest.isEmpty())
        return std::nullopt;
    for (char c : rest)
        if (c < '0' || c > '9')
            return std::nullopt;
    while (rest.size() > 1 && rest[0] == '0')
        rest.remove(0, 1);
    if (rest.size() > 10)
        return std::nullopt;
    const long long magnitude = rest.toLongLong();
    const long long value = negative ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

int integerText(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<int32_t> want = reference(text);
    try {
        const int32_t got = strToInt(text);
        check(want.has_value(),
              "'" + text.toPercentEncoding().toStdString() + "' accepted as " + std::to_string(got));
        if (want)
            check(got == *want,
                  "'" + text.toPercentEncoding().toStdString() + "' read as " + std::to_string(got)
                      + ", want " + std::to_string(*want));
    } catch (const EContentError& e) {
        check(!want.has_value(),
              "'" + text.toPercentEncoding().toStdString() + "' refused, want "
                  + std::to_string(want.value_or(0)));
        const QString expected
            = QStringLiteral("'") + ansiToQString(text) + QStringLiteral("' is not a valid integer value");
        check(e.message() == expected, "wrong message: " + e.message().toStdString());
    }
    return 0;
}

} // namespace hw::fuzz
