#include "core/platform/numbertext.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

using namespace numbertext;

TEST(NumberText, LeadingNumberRoundedHalfToEven)
{
    const struct { const char *text; double value; } cases[] = {
        {"12", 12}, {"  7abc", 7}, {"-2", -2}, {"3.4", 3.4}, {"2.5x", 2.5}, {".5", 0.5},
        {"abc", 0}, {"", 0}, {"1e3", 1000}, {"1e", 1}, {"+4", 4}, {"- 4", 0}, {"12:00", 12},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;

    const struct { double value; qint64 whole; } rounded[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.51, 3}};
    for (const auto &r : rounded)
        EXPECT_EQ(roundHalfEven(r.value), r.whole) << r.value;
    EXPECT_EQ(leadingInt(QStringLiteral("99999999999999")), std::numeric_limits<int>::max());
}

TEST(NumberText, Booleans)
{
    const struct { const char *text; std::optional<bool> value; } cases[] = {
        {" True ", true}, {"false", false}, {"-1", true}, {"0", false}, {"ja", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readBoolean(QString::fromLatin1(c.text)), c.value) << c.text;
}
