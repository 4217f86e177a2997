#include "hw/content/IntegerText.h"

#include "hw/Exception.h"

#include <gtest/gtest.h>

TEST(IntegerText, AcceptsDecimalAndHexadecimalForms)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"12", 12},
        {"   12", 12},
        {"+12", 12},
        {"-12", -12},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"00000000002147483647", 2147483647},
        {"$1F", 31},
        {"$1f", 31},
        {"  $a", 10},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$000000000001", 1}, // leading zeros are not significant
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(hw::strToInt(text), value) << text;
}

TEST(IntegerText, RejectsEverythingElseWithTheTextAsRead)
{
    const char* bad[] = {
        "",      " ",    "+",    "-",    "$",          "2147483648", "-2147483649", "99999999999999999999",
        "12abc", "1.5",  "-$10", "+$10", "$123456789", "$G",         "0x10",        "12 ",
        "1 2",   "\t12", "+-1",  "--1",  "1e3",        "$ 1",
    };
    for (const char* text : bad) {
        try {
            hw::strToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const hw::EContentError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(text)));
        }
    }
    // The text is shown as the code page spells it.
    try {
        hw::strToInt("\x80"
                     "5");
        ADD_FAILURE();
    } catch (const hw::EContentError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'\u20AC5' is not a valid integer value"));
    }
    // A NUL inside the text is no digit.
    EXPECT_THROW(hw::strToInt(QByteArray("1\0"
                                         "2",
                                         3)),
                 hw::EContentError);
}
