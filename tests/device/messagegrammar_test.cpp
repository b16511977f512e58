#include "device/devicetypes.h"
#include "device/messagegrammar.h"

#include "support/qtprint.h"
#include "support/samplemessages.h"

#include <gtest/gtest.h>

namespace {

struct Length { int type; int length; bool open; };

const Length kLengths[] = {
    {kType0203, 13, true}, {kType0204, 13, true}, {kType0403, 19, false}, {kType0404, 19, false},
    {kType2001, 34, false}, {kType2002, 34, false}, {kType0501, 36, true}, {kType0401, 26, true},
    {kType0402, 26, true}, {kType1000, 118, false}, {kType0901, 42, true}, {kType0701, 47, true},
    {kType0601, 47, true},
};

} // namespace

TEST(MessageGrammar, LengthsFixedOrOpen)
{
    for (const auto &l : kLengths) {
        const QString message = sampleMessage(l.type);
        ASSERT_EQ(message.size(), l.length) << l.type;
        EXPECT_TRUE(checkMessageSyntax(message)) << l.type;
        EXPECT_TRUE(checkSyntax(l.type, message)) << l.type;
        EXPECT_FALSE(checkMessageSyntax(message.chopped(1))) << l.type;
        EXPECT_EQ(checkMessageSyntax(message + u'x'), l.open) << l.type;
        EXPECT_EQ(checkMessageSyntax(message + QString(40, u'-')), l.open) << l.type;
    }
}

// One change at a constrained position each; the first rows of a type are
// changes the grammar allows.
TEST(MessageGrammar, ChangesAtConstrainedPositions)
{
    const struct { int type; int pos; const char *text; bool valid; } cases[] = {
        {kType0203, 13, "A", true}, {kType0203, 13, "e", false}, {kType0203, 13, "-", false},
        {kType0204, 13, "a", false},
        {kType0403, 13, "!!!a", true}, {kType0403, 19, "?", true}, {kType0403, 14, "x", false},
        {kType0403, 16, "E", false}, {kType0403, 16, "n", false}, {kType0403, 17, "a", false},
        {kType0404, 15, "!p", true}, {kType0404, 16, "e", false}, {kType0404, 18, "-", false},
        {kType2001, 13, "00000000!FFFFFFFF!S", true}, {kType2001, 20, "2", false},
        {kType2001, 21, "F", false}, {kType2001, 22, "o", false}, {kType2001, 30, "O", false},
        {kType2001, 31, "V", false}, {kType2001, 33, "x", false},
        {kType2002, 29, "f", false},
        {kType0501, 13, "44", true}, {kType0501, 25, "~", true}, {kType0501, 13, "5", false},
        {kType0501, 17, "j", false}, {kType0501, 18, "e", false}, {kType0501, 21, "6", false},
        {kType0501, 23, "9", false}, {kType0501, 26, "A", false}, {kType0501, 36, "-", false},
        {kType0401, 13, "AA", true}, {kType0401, 18, "n", false}, {kType0401, 14, "O", false},
        {kType0401, 26, "x", false},
        {kType0402, 13, "FF", true}, {kType0402, 18, "a", false}, {kType0402, 13, "E", false},
        {kType0901, 24, "--D", true}, {kType0901, 15, "6", false}, {kType0901, 19, "E", false},
        {kType0901, 24, "x", false}, {kType0901, 26, "N", false}, {kType0901, 27, "o", false},
        {kType0901, 42, "a", false},
        {kType0701, 13, "FFFFFF", true}, {kType0701, 21, "9", false}, {kType0701, 27, "6", false},
        {kType0701, 36, "x", false}, {kType0701, 47, "-", false},
        {kType0601, 31, "FFFFFF", true}, {kType0601, 13, "1", false},
        {kType1000, 77, "--------------------", true}, {kType1000, 101, "+0,0", true},
        {kType1000, 13, "v", false}, {kType1000, 16, "-", false}, {kType1000, 16, "4", false},
        {kType1000, 48, "2", false}, {kType1000, 68, "-", false}, {kType1000, 70, "3", false},
        {kType1000, 71, "7", false}, {kType1000, 76, "5", false}, {kType1000, 77, "4", false},
        {kType1000, 79, "2", false}, {kType1000, 89, "3", false}, {kType1000, 91, "6", false},
        {kType1000, 99, ".", false}, {kType1000, 104, "-", false}, {kType1000, 111, "3", false},
    };
    for (const auto &c : cases) {
        const QString message = withAt(sampleMessage(c.type), c.pos, QLatin1String(c.text));
        EXPECT_EQ(checkMessageSyntax(message), c.valid)
            << deviceTypeCodeOf(c.type).toStdString() << " @" << c.pos << " " << c.text;
    }
}

TEST(MessageGrammar, LayoutFollowsTheHeadersTypeCode)
{
    // a 0403 body behind a 0203 header passes only with E or A at 13
    const QString layout0403 = sampleMessage(kType0403);
    const QString as0203 = withAt(layout0403, 6, QStringLiteral("0203"));
    EXPECT_FALSE(checkMessageSyntax(as0203));
    EXPECT_TRUE(checkMessageSyntax(withAt(as0203, 13, QStringLiteral("E"))));
    EXPECT_TRUE(checkSyntax(kType0403, as0203));

    EXPECT_FALSE(checkMessageSyntax(withAt(layout0403, 6, QStringLiteral("0999"))));
    EXPECT_FALSE(checkMessageSyntax(withAt(layout0403, 12, QStringLiteral("X"))));
    EXPECT_FALSE(checkSyntax(0, layout0403));
    EXPECT_FALSE(checkSyntax(14, layout0403));
    // the header's address and kind are not looked at
    EXPECT_TRUE(checkMessageSyntax(withAt(layout0403, 1, QStringLiteral("X"))));
    EXPECT_TRUE(checkMessageSyntax(withAt(layout0403, 4, QStringLiteral(".A"))));
}
