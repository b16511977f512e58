#include "device/messages/statusrequest.h"

#include "core/registry/unitaddress.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/messageheader.h"

namespace {
constexpr int kQuietLineMs = 500;

int fail(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
    return -1;
}
} // namespace

int requestStatus(int address, QString &answer, const QString &suffix, QString *reason)
{
    if (!isRegistryAddress(address))
        return fail(reason, QStringLiteral("Ungültige Geräteadresse"));
    BusTransaction exchange;
    if (!exchange.granted())
        return fail(reason, busBusyReason());

    // The buffer is emptied once the line has fallen quiet: the late tail of
    // an earlier answer would spoil this answer and every retry, and a unit's
    // own message still arriving is collected meanwhile instead of cut.
    SerialLink &link = serialLink();
    link.waitLineIdle(kQuietLineMs);
    link.clearReceived();

    if (link.sendCommand(QStringLiteral("\n") + formatUnitAddress(address) + QStringLiteral("S") + suffix))
        return fail(reason, QStringLiteral("Senden fehlgeschlagen"));
    if (link.waitForReceived(kHeaderLength, kAnswerTimeoutMs, kAnswerIdleMs) == -1)
        return fail(reason, QStringLiteral("Gerät antwortete nicht auf Anfrage"));

    QString header;
    link.takeReceived(kHeaderLength, header);
    if (!isValidHeader(header))
        return fail(reason, QStringLiteral("Antwort war syntaktisch falsch"));
    // A total length below the header's own cannot start a message.
    const int rest = remainingLength(header);
    if (rest < 0)
        return fail(reason, QStringLiteral("Antwort war syntaktisch falsch"));
    if (link.waitForReceived(rest, kAnswerTimeoutMs, kAnswerIdleMs) == -1)
        return fail(reason, QStringLiteral("Gerät hat aufgehört zu senden"));

    QString body;
    link.takeReceived(rest, body);
    answer = header + body;
    if (!checkMessageSyntax(answer))
        return fail(reason, QStringLiteral("Nachricht war syntaktisch falsch"));
    if (reason)
        *reason = QStringLiteral("kein Fehler");
    return static_cast<int>(answer.size());
}
