#include "core/formlogic/expertaddress.h"

#include <gtest/gtest.h>

TEST(ExpertAddress, TypedAddressesInBusFormAndTheirSteps)
{
    const struct { const char *typed, *normalized, *up, *down; } cases[] = {
        {"5", "005", "006", "004"},     {"42", "042", "043", "041"},   {"7", "007", "008", "006"},
        {"999", "999", "999", "998"},   {"001", "001", "002", "001"},  {"s7", "S07", "S08", "S06"},
        {"S99", "S99", "S99", "S98"},   {"S01", "S01", "S02", "S01"},  {"S00", "S00", "S01", "S00"},
        {"all", "ALL", "", ""},         {"0", "", "", ""},             {"000", "", "", ""},
        {"G01", "", "", ""},            {"12a", "", "", ""},           {"S1A", "", "", ""},
        {"", "", "", ""},               {"-5", "", "", ""},
    };
    for (const auto &c : cases) {
        const QString normalized = normalizeExpertAddress(QString::fromUtf8(c.typed));
        EXPECT_EQ(normalized, QString::fromUtf8(c.normalized)) << c.typed;
        EXPECT_EQ(stepExpertAddress(normalized, 1), QString::fromUtf8(c.up)) << c.typed;
        EXPECT_EQ(stepExpertAddress(normalized, -1), QString::fromUtf8(c.down)) << c.typed;
    }
}
