#include "device/devicetypes.h"
#include "device/messageheader.h"

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

    const MessageHeader h = MessageHeader::of(QStringLiteral("S05.A0403019--!e12x"));
    EXPECT_EQ(h.address, u"S05");
    EXPECT_EQ(h.kind, u".A");
    EXPECT_EQ(h.typeCode, u"0403");
    EXPECT_EQ(h.totalLength, u"019");
}

TEST(MessageHeader, RemainingLengthNeverNegative)
{
    EXPECT_EQ(remainingLength(QStringLiteral("001S00203014")), 2);
    EXPECT_EQ(remainingLength(QStringLiteral("001S00203012")), 0);
    EXPECT_EQ(remainingLength(QStringLiteral("001S00203011")), -1);
    EXPECT_EQ(remainingLength(QStringLiteral("001S00203000")), -1);
    EXPECT_EQ(remainingLength(QStringLiteral("001S00203999")), 987);
}

TEST(MessageHeader, SenderOutsideTheRegistryIsNoAddress)
{
    const struct { const char *text; int addr; } cases[] = {
        {"007S0", 7}, {"S05", 1005}, {"999", 999}, {"000", -1}, {"X01", -1}, {"-12", -1}, {"1", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(senderAddress(QLatin1String(c.text)), c.addr) << c.text;
}

TEST(DeviceTypes, EveryCodeOfTheTable)
{
    const struct { const char *code; int type; const char16_t *name; } table[] = {
        {"0203", 1, u"VARO3"}, {"0204", 2, u"VARO4"}, {"2001", 3, u"Dravik-Regler"},
        {"0404", 4, u"QOR-5K"}, {"0403", 5, u"QOR-TD"}, {"0701", 6, u"Pallex"},
        {"0401", 7, u"QOR07"}, {"0402", 8, u"QOR07-N"}, {"0901", 9, u"Ivenor"},
        {"0501", 10, u"WNT3-H"}, {"1000", 11, u"HZ4000"}, {"2002", 12, u"Dravik-Regler"},
        {"0601", 13, u"Pallex"},
    };
    for (const auto &row : table) {
        const QString message = QStringLiteral("001S0") + QLatin1String(row.code) + QStringLiteral("013");
        EXPECT_EQ(getDeviceTypeCode(message), row.type) << row.code;
        EXPECT_EQ(getDeviceTypeName(message), QString::fromUtf16(row.name)) << row.code;
        EXPECT_EQ(getTypeCodeString(message), QLatin1String(row.code));
        EXPECT_EQ(deviceTypeCodeOf(row.type), QLatin1String(row.code));
    }
}

TEST(DeviceTypes, InvalidHeaderAndUnknownCode)
{
    const QString unknown = QStringLiteral("001S00999012");
    EXPECT_EQ(getDeviceTypeCode(unknown), 0);
    EXPECT_EQ(getDeviceTypeName(unknown), u"Ungültiger Gerätetyp");
    EXPECT_EQ(getTypeCodeString(unknown), u"0999");

    const QString shortText = QStringLiteral("001S0020301");
    EXPECT_EQ(getDeviceTypeCode(shortText), 0);
    EXPECT_EQ(getDeviceTypeName(shortText), u"Unbekanntes Protokoll");
    EXPECT_EQ(getTypeCodeString(shortText), QString());

    EXPECT_EQ(deviceTypeNameOf(0), QString());
    EXPECT_EQ(deviceTypeNameOf(14), QString());
}
