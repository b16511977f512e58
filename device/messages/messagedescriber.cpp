#include "device/messages/messagedescriber.h"

#include "core/platform/visiblecontrols.h"
#include "device/messages/devicetypes.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/messageheader.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The address and the message are the unit's own characters: in the general
// log and the alert window a line break or NUL among them must not start a
// line the station did not write.
QString addressLine(const QString &message)
{
    return QStringLiteral("Geräteadresse: ") + visibleControls(message.left(3)) + kCrLf;
}

QString messageText(const QString &message)
{
    return QStringLiteral("Meldung: ") + visibleControls(message);
}

QString typeLine(const QString &message)
{
    return QStringLiteral("Gerätetyp: ") + getDeviceTypeName(message) + kCrLf;
}

QString descriptionLine(const QString &message)
{
    return QStringLiteral("Gerätebeschreibung: ") + senderDescription(message, 1) + kCrLf;
}

QString malformed(const QString &message)
{
    return addressLine(message) + typeLine(message) + QStringLiteral("Nachricht syntaktisch falsch!")
           + kCrLf + messageText(message);
}

QString withoutTrailingLineEnds(const QString &message)
{
    qsizetype end = message.size();
    while (end > 0 && (message[end - 1] == u'\r' || message[end - 1] == u'\n'))
        --end;
    return message.left(end);
}

} // namespace

QString describeMessage(const QString &message)
{
    const QString m = withoutTrailingLineEnds(message);
    switch (getDeviceTypeCode(m)) {
    case kType0403:
        return describeMessage0403(m);
    case kType0404:
        return describeMessage0404(m);
    case kType2001:
        return describeMessage2001(m);
    default:
        return describeMessageUnsupported(m);
    }
}

QString describeMessageUnsupported(const QString &message)
{
    return addressLine(message)
           + QStringLiteral("HINWEIS: Der Gerätetyp kann mit dieser Softwareversion nicht ausgewertet werden!")
           + kCrLf + typeLine(message) + messageText(message) + kCrLf
           + QStringLiteral("Gerätebeschreibung: ") + senderDescription(message, 1);
}

// Contact n stands at position 12 + n and is described by part n + 1, the
// same numbering as the evaluation and the status page use.
QString describeMessage0403(const QString &message)
{
    if (!checkSyntax(kType0403, message))
        return malformed(message);
    QString text = addressLine(message) + typeLine(message) + descriptionLine(message);
    for (int n = 1; n <= 3; ++n) {
        if (message[12 + n - 1] != u'!')
            continue;
        const QString contact = QStringLiteral("Kontakt ") + QString::number(n);
        text += contact + QStringLiteral(": FEHLER") + kCrLf + contact
                + QStringLiteral(" (Beschreibung): ") + senderDescription(message, n + 1) + kCrLf;
    }
    return text;
}

// No reading of the phases exists for this type; a well-formed message is
// announced like any type that cannot be read, not as a broken one.
QString describeMessage0404(const QString &message)
{
    return checkSyntax(kType0404, message) ? describeMessageUnsupported(message) : malformed(message);
}

QString describeMessage2001(const QString &message)
{
    if (!checkSyntax(kType2001, message))
        return malformed(message);
    return addressLine(message) + typeLine(message) + descriptionLine(message)
           + QStringLiteral("Meldeeingang: FEHLER") + kCrLf + QStringLiteral("Meldeeingang (Beschreibung): ")
           + senderDescription(message, 2) + kCrLf;
}
