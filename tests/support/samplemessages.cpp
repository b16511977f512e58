#include "support/samplemessages.h"

#include "device/messages/devicetypes.h"

namespace {

QString body(int deviceType)
{
    switch (deviceType) {
    case kType0203:
    case kType0204:
        return QStringLiteral("E");
    case kType0403:
        return QStringLiteral("---e12x");
    case kType0404:
        return QStringLiteral("---n12x");
    case kType2001:
    case kType2002:
        return QStringLiteral("11111111-OOOOOOOO-A12x");
    case kType0501:
        return QStringLiteral("0024Jn013000A12300402117");
    case kType0401:
        return QStringLiteral("EE24Je01300017");
    case kType0402:
        return QStringLiteral("OO24Jn01300017");
    case kType0901:
        return QStringLiteral("013000OOOOO01BOOOOO02116807217");
    case kType0701:
    case kType0601:
        return QStringLiteral("OOOOOO000500013000OOOOOO02116807217");
    case kType1000:
        return QStringLiteral("V12" "010120" "003" "012" "150320" "150320" "1030" "1045")
               + QString(21, u'0') // inverters 1-21
               + QStringLiteral("1" "0" "3" "0500" "0")                   // own test, status
               + QStringLiteral("010321" "010321" "0800" "1105")           // last duration test
               + QStringLiteral("26,4" "-1,5" "020321" "1200" "xxxx");
    default:
        return {};
    }
}

} // namespace

QString sampleMessage(int deviceType, const QString &address)
{
    const QString rest = body(deviceType);
    const QString total = QString::number(12 + rest.size()).rightJustified(3, u'0');
    return address + QStringLiteral("S0") + deviceTypeCodeOf(deviceType) + total + rest;
}

QString withAt(QString message, int pos, const QString &text)
{
    return message.replace(pos - 1, text.size(), text);
}
