#include "device/messages/devicetypes.h"
#include "device/messages/messagegrammar.h"

#include "support/qtprint.h"
#include "support/samplemessages.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

struct Layout
{
    std::initializer_list<int> types;
    bool open;
    // A body of the shortest length built from the other allowed characters.
    const char *other;
    // From position 13 on, one character each position refuses; a blank where
    // any character is allowed.
    const char *refused;
};

const Layout kLayouts[] = {
    {{kType0203, kType0204}, true, "A", "e"},
    {{kType0403}, false, "!!!a90~", "xxxExx "},
    {{kType0404}, false, "!-!p09~", "xxxexx "},
    {{kType2001, kType2002}, false, "01010101!FOFOFOFO!S90~", "22222222xooooooooxVxx "},
    {{kType0501}, true, "4499Nt995959~99999999999", "55xxjexx6x6x xxxxxxxxxxx"},
    {{kType0401}, true, "AA99Na99595999", "OOxxjnxx6x6xxx"},
    {{kType0402}, true, "FF99Np99595999", "EExxjexx6x6xxx"},
    {{kType0901}, true, "995959FFFFF-9DFFFFF99999999999", "xx6x6xoooooxxNoooooxxxxxxxxxxx"},
    {{kType0701, kType0601}, true, "FFFFFF995959995959FFFFFF99999999999", "ooooooxx6x6xxx6x6xooooooxxxxxxxxxxx"},
    {{kType1000}, false,
     "V99" "391999" "999" "999" "391999" "391999" "2959" "2959" "1111111111111111111111" "2" "6"
     "2959" "4" "--------------------" "99,9" "~~~9" "391999" "2959" "~~~~",
     "vxx" "4x2xxx" "xxx" "xxx" "4x2xxx" "4x2xxx" "3x6x" "3x6x" "2222222222222222222222" "3" "7"
     "3x6x" "5" "4x2xxx" "4x2xxx" "3x6x" "3x6x" "xx.x" "   x" "4x2xxx" "3x6x" "    "},
};

} // namespace

// The sample and a body of the other allowed characters pass; one refused
// character at any constrained position fails; one more character passes only
// an open layout, one less fails every layout.
TEST(MessageGrammar, EveryPositionOfEveryLayout)
{
    for (const Layout &l : kLayouts) {
        ASSERT_EQ(strlen(l.other), strlen(l.refused));
        for (int type : l.types) {
            const QString sample = sampleMessage(type);
            const std::string code = deviceTypeCodeOf(type).toStdString();
            ASSERT_EQ(sample.size(), 12 + int(strlen(l.refused))) << code;
            const QString other = withAt(sample, 13, QLatin1String(l.other));
            EXPECT_TRUE(checkMessageSyntax(sample)) << code;
            EXPECT_TRUE(checkMessageSyntax(other)) << code;
            EXPECT_EQ(checkMessageSyntax(other + u'~'), l.open) << code;
            EXPECT_FALSE(checkMessageSyntax(sample.chopped(1))) << code;
            for (int i = 0; l.refused[i]; ++i) {
                const bool any = l.refused[i] == ' ';
                const QString c(QChar(any ? '~' : l.refused[i]));
                EXPECT_EQ(checkMessageSyntax(withAt(sample, 13 + i, c)), any) << code << " @" << 13 + i;
            }
        }
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
    // the header's address and kind are not looked at
    EXPECT_TRUE(checkMessageSyntax(withAt(layout0403, 1, QStringLiteral("X01.A"))));
}
