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

TEST(DeviceTypes, CodesNamesAndNumbers)
{
    for (int type = 1; type <= kDeviceTypeCount; ++type) {
        const QString header = QStringLiteral("001S0") + deviceTypeCodeOf(type) + QStringLiteral("012");
        EXPECT_EQ(getDeviceTypeCode(header), type);
        EXPECT_EQ(getDeviceTypeName(header), deviceTypeNameOf(type));
        EXPECT_EQ(getTypeCodeString(header), deviceTypeCodeOf(type));
    }
    EXPECT_EQ(getDeviceTypeName(QStringLiteral("S05.A2002034")), u"Dravik-Regler");
    EXPECT_EQ(getDeviceTypeName(QStringLiteral("S05.A0404019")), u"QOR-5K");
    EXPECT_EQ(getDeviceType(QStringLiteral("0601")), kType0601);
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
