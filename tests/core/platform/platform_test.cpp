// The platform layer: code page, bit set, OLE dates, numbers read from text, control characters made visible.
#include "core/platform/codepage.h"
#include "core/platform/indexbitmap.h"
#include "core/platform/numbertext.h"
#include "core/platform/oledate.h"
#include "core/platform/visiblecontrols.h"
#include "support/qtprint.h"

#include <gtest/gtest.h>
#include <numeric>

TEST(CodePage, RoundTripsAndMarksWhatItCannotHold)
{
    EXPECT_EQ(codepage::encode(QStringLiteral("Prüfung „€“Ÿ")), QByteArray("Pr\xFC" "fung \x84\x80\x93\x9F"));
    EXPECT_EQ(codepage::decode("Pr\xFC" "fung \x84\x80\x93\x9F"), QStringLiteral("Prüfung „€“Ÿ"));
    QByteArray all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');
    EXPECT_EQ(codepage::encode(codepage::decode(all)), all);
    // One "?" per character outside the code page, also outside the basic plane.
    EXPECT_EQ(codepage::encode(QString::fromUtf8("a\u0416b\xF0\x9F\x98\x80y")), QByteArray("a?b?y"));
    // A field takes every byte's character, "?" and the undefined bytes among them, and no stand-in.
    EXPECT_TRUE(codepage::holds(codepage::decode(all)) && !codepage::holds(QStringLiteral("\u0080")));
}

// Every byte against the code page's chart, and every other UTF-16 unit written as "?".
TEST(CodePage, EachByteHasItsCharacterAndNothingElseIsHeld)
{
    QByteArray all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');
    // The five bytes the chart leaves empty stand for themselves.
    const QString chart = QString::fromLatin1(all.first(0x80))
                        + QStringLiteral("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ")
                        + QString::fromLatin1(all.sliced(0xA0));
    ASSERT_EQ(chart.size(), 256);
    EXPECT_EQ(codepage::decode(all), chart);
    EXPECT_EQ(codepage::encode(chart), all);
    int held = 0;
    for (int u = 0; u <= 0xFFFF; ++u)
        held += codepage::encodeChar(QChar(char16_t(u))) != '?';
    EXPECT_EQ(held, 255);  // the chart's characters but "?" itself
    // A pair is one character; a surrogate without its partner is one "?" of its own.
    EXPECT_EQ(codepage::encode(QString::fromUtf16(u"\xD83D\xDE00|\xD83D|\xDE00\xD83D|\xD83D")), QByteArray("?|?|??|?"));
}

// Low numbers, bit order and freeing a number: tests/core/board. Here the last bit and the numbers outside.
TEST(IndexBitmap, HandsOutTheLowestFreeNumberUpToTheLastBit)
{
    IndexBitmap full = QByteArray(99, '\xFF') + '\x7F';
    EXPECT_EQ(std::pair(getFreeIndex(full), isIndexUsed(799, full)), std::pair(800, true));
    for (int i : {0, -1, 801})  // numbers outside the set change nothing
        EXPECT_FALSE(toggleIndexBit(i, full) || isIndexUsed(i, full)) << i;
    toggleIndexBit(800, full);
    EXPECT_EQ(getFreeIndex(full), -1);
}

TEST(OleDate, DaysSince1899ReadBackToTheNearestSecond)
{
    // Before 1899 the time of day still counts forward (positive days: the "Tasks.dat" bytes).
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(oledate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    // A value out of a damaged file reads as "never".
    for (double damaged : {std::numeric_limits<double>::quiet_NaN(), 1e300})
        EXPECT_EQ(oledate::toDateTime(damaged), oledate::zero());
    const QDateTime t(QDate(2012, 5, 3), QTime(14, 7, 0));
    for (int ms : {499, -400})
        EXPECT_EQ(oledate::toDateTime(oledate::fromDateTime(t.addMSecs(ms))), t) << ms;
    EXPECT_EQ(oledate::toDateTime(oledate::fromDateTime(QDateTime(QDate(2012, 5, 3), QTime(23, 59, 59, 700)))),
              QDateTime(QDate(2012, 5, 4), QTime(0, 0)));
}

TEST(NumberText, LeadingNumberHalfToEvenAndBooleans)
{
    const struct { const char *text; double value; } cases[] = {
        {"  7abc", 7}, {"-2", -2}, {"2.5x", 2.5}, {".5", 0.5}, {"abc", 0}, {"", 0},
        {"1e3", 1000}, {"1e", 1}, {"+4", 4}, {"- 4", 0}, {"12:00", 12},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(numbertext::leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
    for (const auto &[value, whole] : {std::pair(2.5, 2), {3.5, 4}, {-2.5, -2}, {2.51, 3}})
        EXPECT_EQ(numbertext::roundHalfEven(value), whole) << value;
    EXPECT_EQ(numbertext::leadingInt(QStringLiteral("99999999999999")), std::numeric_limits<int>::max());
    const struct { const char *text; std::optional<bool> value; } truths[] = {
        {" True ", true}, {"false", false}, {"-1", true}, {"0", false}, {"ja", std::nullopt},
    };
    for (const auto &c : truths)
        EXPECT_EQ(numbertext::readBoolean(QString::fromLatin1(c.text)), c.value) << c.text;
}

// The ends of each control range and their neighbours.
TEST(VisibleControls, EveryControlHasAnAsciiStandInAndNothingElseChanges)
{
    const QString text = QChar(0) + QStringLiteral("\t\n\v\f\r\x1B\x1F ~\x7F\u0080\u0081\u009F\u00A0Prüfung „€“");
    EXPECT_EQ(visibleControls(text), "<NUL><HT><LF><VT><FF><CR><ESC><US> ~<DEL><0x80><0x81><0x9F>\u00A0Prüfung „€“");
}
