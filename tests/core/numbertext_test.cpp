#include "core/numbertext.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

using namespace numbertext;

TEST(NumberText, LeadingNumber)
{
    const struct { const char *text; double value; } cases[] = {
        {"12", 12}, {"  7abc", 7}, {"-2", -2}, {"3.4", 3.4}, {"2.5x", 2.5}, {".5", 0.5},
        {"abc", 0}, {"", 0}, {"1e3", 1000}, {"1e", 1}, {"+4", 4}, {"- 4", 0}, {"12:00", 12},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(NumberText, RoundsHalfToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(leadingInt(QStringLiteral("99999999999999")), std::numeric_limits<int>::max());
}

TEST(NumberText, Booleans)
{
    EXPECT_EQ(readBoolean(QStringLiteral(" True ")), true);
    EXPECT_EQ(readBoolean(QStringLiteral("false")), false);
    EXPECT_EQ(readBoolean(QStringLiteral("-1")), true);
    EXPECT_EQ(readBoolean(QStringLiteral("0")), false);
    EXPECT_EQ(readBoolean(QStringLiteral("ja")), std::nullopt);
    EXPECT_EQ(booleanWord(true), QStringLiteral("True"));
}
