#include "support/samplemessages.h"

#include "device/messages/devicetypes.h"

#include <QHash>

QString sampleMessage(int deviceType, const QString &address)
{
    static const QHash<int, QString> bodies = {
        {kType0203, "E"}, {kType0204, "E"}, {kType0403, "---e12x"}, {kType0404, "---n12x"},
        {kType2001, "11111111-OOOOOOOO-A12x"}, {kType2002, "11111111-OOOOOOOO-A12x"},
        {kType0501, "0024Jn013000A12300402117"}, {kType0401, "EE24Je01300017"}, {kType0402, "OO24Jn01300017"},
        {kType0901, "013000OOOOO01BOOOOO02116807217"},
        {kType0701, "OOOOOO000500013000OOOOOO02116807217"}, {kType0601, "OOOOOO000500013000OOOOOO02116807217"},
        {kType1000, QStringLiteral("V12" "010120" "003" "012" "150320" "150320" "1030" "1045")
                        + QString(21, u'0')                                  // inverters 1-21
                        + QStringLiteral("1" "0" "3" "0500" "0")                // own test, status
                        + QStringLiteral("010321" "010321" "0800" "1105")        // last duration test
                        + QStringLiteral("26,4" "-1,5" "020321" "1200" "xxxx")},
    };
    const QString rest = bodies.value(deviceType);
    const QString total = QString::number(12 + rest.size()).rightJustified(3, u'0');
    return address + QStringLiteral("S0") + deviceTypeCodeOf(deviceType) + total + rest;
}

QString withAt(QString message, int pos, const QString &text) { return message.replace(pos - 1, text.size(), text); }
