#include "core/registry/unitaddress.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(UnitAddress, FormatsAndParses)
{
    const struct { int addr; const char *text; } formats[] = {
        {0, "000"}, {5, "005"}, {42, "042"}, {999, "999"}, {1000, "S00"}, {1099, "S99"},
        {1100, "S00"}, {1999, "S99"}, {2000, "T00"}, {32767, "r67"},
    };
    for (const auto &c : formats)
        EXPECT_EQ(formatUnitAddress(c.addr), QLatin1String(c.text)) << c.addr;
    EXPECT_EQ(formatUnitAddressHigh(7), QStringLiteral("007"));
    EXPECT_EQ(formatTwoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(formatTwoDigits(123), QStringLiteral("123"));

    const struct { const char *text; int addr; } parses[] = {
        {"12", -1}, {"ALL", -1}, {"G05", -1}, {"T00", -1}, {"s07", 1007}, {"S42", 1042},
        {"000", 0}, {"007", 7}, {"999", 999}, {"X01", -1}, {"-12", -1}, {"99999999", -1},
    };
    for (const auto &c : parses)
        EXPECT_EQ(parseUnitAddress(QLatin1String(c.text)), c.addr) << c.text;
}

TEST(UnitAddress, EveryRegisteredAddressRoundTrips)
{
    for (int addr = 1; addr <= 1099; ++addr)
        ASSERT_EQ(parseUnitAddress(formatUnitAddress(addr)), addr);
}
