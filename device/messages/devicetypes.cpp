#include "device/messages/devicetypes.h"

#include "device/messages/messageheader.h"

#include <array>

namespace {

struct DeviceTypeRow
{
    const char16_t *code;
    const char16_t *name;
};

// Row i is device type i + 1. Two pairs share a name: they are the same
// product with a different message layout.
constexpr std::array<DeviceTypeRow, kDeviceTypeCount> kTable{{
    {u"0203", u"VARO3"},
    {u"0204", u"VARO4"},
    {u"2001", u"Dravik-Regler"},
    {u"0404", u"QOR-5K"},
    {u"0403", u"QOR-TD"},
    {u"0701", u"Pallex"},
    {u"0401", u"QOR07"},
    {u"0402", u"QOR07-N"},
    {u"0901", u"Ivenor"},
    {u"0501", u"WNT3-H"},
    {u"1000", u"HZ4000"},
    {u"2002", u"Dravik-Regler"},
    {u"0601", u"Pallex"},
}};

} // namespace

QString getTypeCodeString(const QString &message)
{
    return isValidHeader(message) ? message.mid(5, 4) : QString();
}

int getDeviceTypeCode(const QString &message)
{
    return getDeviceType(getTypeCodeString(message));
}

QString getDeviceTypeName(const QString &message)
{
    if (!isValidHeader(message))
        return QStringLiteral("Unbekanntes Protokoll");
    const int type = getDeviceTypeCode(message);
    return type == 0 ? QStringLiteral("Ungültiger Gerätetyp") : deviceTypeNameOf(type);
}

int getDeviceType(const QString &typeCode)
{
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (typeCode == QStringView(kTable[i].code))
            return int(i) + 1;
    }
    return 0;
}

QString deviceTypeCodeOf(int deviceType)
{
    if (deviceType < 1 || deviceType > kDeviceTypeCount)
        return {};
    return QString::fromUtf16(kTable[size_t(deviceType - 1)].code);
}

QString deviceTypeNameOf(int deviceType)
{
    if (deviceType < 1 || deviceType > kDeviceTypeCount)
        return {};
    return QString::fromUtf16(kTable[size_t(deviceType - 1)].name);
}
