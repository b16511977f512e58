// What the windows compute without a window: expert addresses, print lines, schedule input, task ranges,
// the serial terminal's text.
#include "core/formlogic/expertaddress.h"
#include "core/formlogic/printwrap.h"
#include "core/formlogic/scheduleinput.h"
#include "core/formlogic/taskeditorinput.h"
#include "core/formlogic/terminallog.h"
#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(ExpertAddress, TypedAddressesInBusFormAndTheirSteps)
{
    const struct { const char *typed, *normalized, *up, *down; } cases[] = {
        {"5", "005", "006", "004"}, {"999", "999", "999", "998"}, {"001", "001", "002", "001"},
        {"s7", "S07", "S08", "S06"}, {"S99", "S99", "S99", "S98"}, {"S00", "S00", "S01", "S00"},
        {"all", "ALL", "", ""}, {"0", "", "", ""}, {"000", "", "", ""}, {"G01", "", "", ""},
        {"12a", "", "", ""}, {"S1A", "", "", ""}, {"", "", "", ""}, {"-5", "", "", ""},
    };
    for (const auto &c : cases) {
        const QString normalized = normalizeExpertAddress(QString::fromUtf8(c.typed));
        EXPECT_EQ(normalized, QString::fromUtf8(c.normalized)) << c.typed;
        EXPECT_EQ(stepExpertAddress(normalized, 1) + u'|' + stepExpertAddress(normalized, -1),
                  QString::fromUtf8(c.up) + u'|' + QString::fromUtf8(c.down)) << c.typed;
    }
}

TEST(PrintWrap, MarginAndLineLengthFromTheMeasuredLettersThenEveryLineCut)
{
    EXPECT_EQ(measurePrintLine([](int letters) { return letters * 2.1167; }, 26.0).lineLength, 1);  // whatever the page, a line holds a letter
    const PrintLine wide = measurePrintLine([](int letters) { return letters * 0.1; }, 500.0);
    EXPECT_EQ(std::pair(wide.marginSpaces, wide.lineLength), std::pair(251, 1000 - 251));  // at most 1000 letters

    const PrintLine line{2, 3};
    EXPECT_EQ(wrapForPrint("abcdefg\r\n\r\nxyz\r\nrest", line), QStringList({"  abc", "  def", "  g", "  ", "  xyz", "rest"}));
    EXPECT_EQ(wrapForPrint("", line), QStringList());
    EXPECT_EQ(wrapForPrint("ab\ncd\r\n", line), QStringList({"  ab\n", "  cd"}));  // a lone LF ends no line
}

TEST(ScheduleInput, OnlyWholeClockTimesAndSentencesNamingTheShownValues)
{
    const struct { const char *text; QTime time; } cases[] = {
        {"5:30", QTime(5, 30)}, {"23:59:59", QTime(23, 59, 59)}, {"00:00", QTime(0, 0)}, {"24:00", {}},
        {"12:60", {}}, {"12:00:60", {}}, {"5:30:00", {}}, {"12:5", {}}, {" 12:00", {}}, {"12:00 ", {}},
        {"1200", {}}, {"", {}}, {"12.03.2011 12:00", {}},
    };
    for (const auto &c : cases) {
        const auto parsed = parseScheduleTime(QString::fromLatin1(c.text));
        EXPECT_EQ(std::pair(parsed.has_value(), parsed.value_or(QTime())), std::pair(c.time.isValid(), c.time)) << c.text;
    }
    EXPECT_EQ(scheduleSentence(0, "Montag", "März", "5:00"), "Jedes Jahr am ersten Montag im März um 5:00 Uhr");
    EXPECT_EQ(scheduleSentence(1, "Sonntag", "Januar", "12:00"), "An jedem ersten Sonntag jedes Monats um 12:00 Uhr");
    EXPECT_EQ(scheduleSentence(2, "Freitag", "Januar", "x"), "An jedem Freitag um x Uhr");
    EXPECT_EQ(scheduleSentence(3, "Freitag", "Januar", "06:15"), "Jeden Tag um 06:15 Uhr");
    EXPECT_EQ(scheduleSentence(-1, "Freitag", "Januar", "06:15"), "");
}

TEST(TaskEditorInput, RangesChooseInOrderAndStopAtTheFirstRefusedItem)
{
    const QList<int> from95{95, 96, 97, 98, 99};
    const struct { const char *text; int high; QList<int> numbers; const char *refused; } cases[] = {
        {"3,7,13-16,19", 99, {3, 7, 13, 14, 15, 16, 19}, nullptr}, {" 4 , 2-2", 99, {4, 2}, nullptr},
        {"16-13", 99, {}, nullptr}, {"5,abc,7", 99, {5}, "abc"}, {"95-105", 99, from95, "95-105"},
        {"999", 999, {999}, nullptr}, {"1000", 999, {}, "1000"}, {"-3", 99, {}, "-3"},
        {"99999999999999999999", 999, {}, "99999999999999999999"},
        {"998-99999999999999999999", 999, {998, 999}, "998-99999999999999999999"},
    };
    for (const auto &c : cases) {
        const RangeInput input = parseRangeInput(QString::fromLatin1(c.text), 1, c.high);
        EXPECT_EQ(input.numbers, c.numbers) << c.text;
        EXPECT_EQ(std::pair(input.refused, input.refusedItem), std::pair(c.refused != nullptr, QString::fromLatin1(c.refused))) << c.text;
    }
    std::array<bool, 100> groups{};
    groups[19] = groups[3] = groups[99] = groups[0] = true;
    EXPECT_EQ(chosenNumberRows(groups, 1, 99), QStringList({"3", "19", "99"}));
    EXPECT_EQ(sliderTimeText(0) + sliderTimeText(61) + sliderTimeText(1439), "00:0001:0123:59");
}

// The limit counted on the characters as the box shows them (a marker one, a line break of unmarked text
// one); the box takes in only what came since it last looked, and whether the terminal was emptied meanwhile.
TEST(TerminalLog, LimitCountedAsShownAndWhatTheBoxTakesIn)
{
    const auto texts = [](const QList<EchoRun> &runs) {
        QString out;
        for (const EchoRun &run : runs)
            out += run.text + u'|';
        return out;
    };
    TerminalLog log;
    log.add(kEchoReceived, "12\r\n", true);
    log.add(kEchoSent, "x\r\ny\rz", false);
    EXPECT_EQ(std::pair(texts(log.runs()), log.length()), std::pair(QString("12|üß|x\ny\nz|"), qsizetype(9)));
    TerminalLog::Change change = log.takeChange();
    EXPECT_EQ(std::tuple(change.emptied, texts(change.added), log.takeChange().added.size()),
              std::tuple(false, texts(log.runs()), 0));
    // The character past the limit goes with the rest; one long echo may empty the terminal more than once.
    log.add(kEchoSent, QString(TerminalLog::kMaxLength - 8 + TerminalLog::kMaxLength + 1 + 5, u'y'), true);
    change = log.takeChange();
    EXPECT_EQ(std::tuple(texts(log.runs()), change.emptied, texts(change.added)), std::tuple("yyyyy|", true, "yyyyy|"));
    log.clear();
    EXPECT_EQ(std::pair(log.length(), log.takeChange().emptied), std::pair(qsizetype(0), true));
}
