#include "core/formlogic/taskeditorinput.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(TaskEditorInput, RangesChooseInOrderAndStopAtTheFirstRefusedItem)
{
    const auto span = [](int from, int to) {
        QList<int> n;
        for (int i = from; i <= to; ++i)
            n << i;
        return n;
    };
    const struct { const char *text; int high; QList<int> numbers; const char *refused; } cases[] = {
        {"3,7,9,13-16,19", 99, {3, 7, 9, 13, 14, 15, 16, 19}, nullptr},
        {" 4 , 2-2", 99, {4, 2}, nullptr},
        {"16-13", 99, {}, nullptr},
        {"5,abc,7", 99, {5}, "abc"},
        {"95-105", 99, span(95, 99), "95-105"},
        {"999", 999, {999}, nullptr},
        {"1000", 999, {}, "1000"},
        {"-3", 99, {}, "-3"},
        {"99999999999999999999", 999, {}, "99999999999999999999"},
        {"998-99999999999999999999", 999, {998, 999}, "998-99999999999999999999"},
    };
    for (const auto &c : cases) {
        const RangeInput input = parseRangeInput(QString::fromLatin1(c.text), 1, c.high);
        EXPECT_EQ(input.numbers, c.numbers) << c.text;
        EXPECT_EQ(input.refused, c.refused != nullptr) << c.text;
        EXPECT_EQ(input.refusedItem, QString::fromLatin1(c.refused)) << c.text;
    }
}

TEST(TaskEditorInput, ChosenRowsAscendAndTheSliderReadsAsTime)
{
    std::array<bool, 100> groups{};
    groups[19] = groups[3] = groups[99] = groups[0] = true;
    EXPECT_EQ(chosenNumberRows(groups, 1, 99), QStringList({"3", "19", "99"}));
    EXPECT_EQ(sliderTimeText(0), "00:00");
    EXPECT_EQ(sliderTimeText(61), "01:01");
    EXPECT_EQ(sliderTimeText(1439), "23:59");
}
