#include "device/messages/pattern.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(Pattern, MatchesTheWholeTextCaseSensitively)
{
    const struct { const char16_t *text; const char16_t *pattern; bool match; } cases[] = {
        // single-character tokens
        {u"a", u"?", true}, {u"", u"?", false}, {u"ab", u"?", false},
        {u"7", u"#", true}, {u"x", u"#", false}, {u"\u0663", u"#", false},
        {u"E", u"E", true}, {u"e", u"E", false},
        // lists: a dash first or last is itself, in the middle a range
        {u"-", u"[-!]", true}, {u"!", u"[-!]", true}, {u"x", u"[-!]", false},
        {u"3", u"[0123-]", true}, {u"-", u"[0123-]", true}, {u"4", u"[0123-]", false},
        {u"c", u"[a-e]", true}, {u"-", u"[a-e]", false}, {u"f", u"[a-e]", false},
        {u"a", u"[EA]", false}, {u"a", u"[ab", false},
        // the star: trailing, leading, between, alone
        {u"", u"*", true}, {u"E", u"[EA]*", true}, {u"Exyz", u"[EA]*", true}, {u"", u"[EA]*", false},
        {u"line status: ok", u"*status*ok*", true}, {u"ok status", u"*status*ok*", false},
        {u"abcabd", u"*abd", true}, {u"abcab", u"*abd", false},
        // fixed length without a star
        {u"12", u"##", true}, {u"123", u"##", false}, {u"1", u"##", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(matchesPattern(QStringView(c.text), QStringView(c.pattern)), c.match)
            << QString::fromUtf16(c.text).toStdString() << " ~ "
            << QString::fromUtf16(c.pattern).toStdString();
    }
}
