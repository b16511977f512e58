#include "core/formlogic/scheduleinput.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(ScheduleInput, OnlyWholeClockTimesAreAccepted)
{
    const struct { const char *text; QTime time; } cases[] = {
        {"5:30", QTime(5, 30)},      {"05:30", QTime(5, 30)}, {"23:59:59", QTime(23, 59, 59)},
        {"00:00", QTime(0, 0)},      {"24:00", {}},           {"25:00", {}},
        {"12:60", {}},               {"12:00:60", {}},        {"5:30:00", {}},
        {"12:5", {}},                {" 12:00", {}},          {"12:00 ", {}},
        {"1200", {}},                {"", {}},                {"12.03.2011 12:00", {}},
    };
    for (const auto &c : cases) {
        const auto parsed = parseScheduleTime(QString::fromLatin1(c.text));
        EXPECT_EQ(parsed.value_or(QTime()), c.time) << c.text;
        EXPECT_EQ(parsed.has_value(), c.time.isValid()) << c.text;
    }
}

TEST(ScheduleInput, SentencesNameTheShownValues)
{
    EXPECT_EQ(scheduleSentence(0, "Montag", "März", "5:00"), "Jedes Jahr am ersten Montag im März um 5:00 Uhr");
    EXPECT_EQ(scheduleSentence(1, "Sonntag", "Januar", "12:00"), "An jedem ersten Sonntag jedes Monats um 12:00 Uhr");
    EXPECT_EQ(scheduleSentence(2, "Freitag", "Januar", "x"), "An jedem Freitag um x Uhr");
    EXPECT_EQ(scheduleSentence(3, "Freitag", "Januar", "06:15"), "Jeden Tag um 06:15 Uhr");
    EXPECT_EQ(scheduleSentence(-1, "Freitag", "Januar", "06:15"), "");
}
