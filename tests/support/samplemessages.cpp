#include "support/samplemessages.h"

#include "device/messages/devicetypes.h"
#include "device/messages/messagedescriber.h"

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

QStringList mainsFailureMessages(int count)
{
    const int types[] = {kType0403, kType2001, kType1000, kType0203};
    QStringList messages;
    for (int i = 0; i < count; ++i) {
        QString message = withAt(sampleMessage(types[i % 4], QString::number(i + 1).rightJustified(3, u'0')), 4, ".A");
        if (types[i % 4] == kType0403)
            message = withAt(message, 13 + i % 3, "!");
        if (i == 5)
            message = withAt(message, 13, "x");
        if (i == 7)
            message += QStringLiteral("\r\n");
        if (i == 11)
            message = withAt(message, 6, "0999");
        messages.append(message);
    }
    return messages;
}

QList<int> mainsFailurePauses(int count)
{
    const int pauses[] = {0, 0, 20, 400, 0, 150, 450, 60};
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out.append(pauses[i % 8]);
    return out;
}

QStringList alertsOf(const QStringList &messages)
{
    QStringList alerts;
    for (const QString &message : messages)
        alerts.append(describeMessage(message));
    return alerts;
}
