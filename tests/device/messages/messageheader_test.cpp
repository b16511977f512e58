#include "device/messages/devicetypes.h"
#include "device/messages/messageheader.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(MessageHeader, ValidWhenTheFirstTwelveFitTheHeaderPattern)
{
    const struct { const char *text; bool valid; } cases[] = {
        {"012S00203013E", true}, {"S05.A0403019", true}, {"X01ab0203013", true},
        {"01200203013", false},      // eleven characters
        {"0A2S00203013", false},     // letter at 2
        {"012S0020301A", false},     // letter among the length digits
        {"012S0 203013", false},     // blank in the type code
    };
    for (const auto &c : cases)
        EXPECT_EQ(isValidHeader(QLatin1String(c.text)), c.valid) << c.text;
}

TEST(DeviceTypes, EveryTypeCodeHasItsNumberAndName)
{
    const struct { const char *code; const char *name; } table[kDeviceTypeCount] = {
        {"0203", "VARO3"}, {"0204", "VARO4"}, {"2001", "Dravik-Regler"}, {"0404", "QOR-5K"},
        {"0403", "QOR-TD"}, {"0701", "Pallex"}, {"0401", "QOR07"}, {"0402", "QOR07-N"},
        {"0901", "Ivenor"}, {"0501", "WNT3-H"}, {"1000", "HZ4000"}, {"2002", "Dravik-Regler"},
        {"0601", "Pallex"},
    };
    for (int type = 1; type <= kDeviceTypeCount; ++type) {
        const QString code = QLatin1String(table[type - 1].code);
        const QString header = QStringLiteral("S05.A") + code + QStringLiteral("012");
        EXPECT_EQ(getDeviceTypeCode(header), type) << table[type - 1].code;
        EXPECT_EQ(getDeviceTypeName(header), QLatin1String(table[type - 1].name)) << table[type - 1].code;
        EXPECT_EQ(getTypeCodeString(header), code);
    }
}
