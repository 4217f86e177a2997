#include "hw/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, MapsWindows1252AndRoundTripsEveryByte)
{
    EXPECT_EQ(hw::ansiToQString(QByteArray("Hare\x92s \x80", 8)), QString::fromUtf8("Hare’s €"));
    EXPECT_EQ(hw::ansiToQString(QByteArray("\xe9", 1)), QString::fromUtf8("é"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(hw::qstringToAnsi(hw::ansiToQString(all)), all);
}
