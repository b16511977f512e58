#include "device/messages/automessages.h"

#include "core/logs/generallog.h"
#include "core/station/prompts.h"
#include "core/station/stationview.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/messagedescriber.h"
#include "device/messages/messageheader.h"

namespace {
// The header's length is not trusted here: the message ends where the line
// falls quiet for this long.
constexpr int kQuietLineMs = 500;
constexpr int kMaxTake = 1000;
// A message that comes while an earlier one waits for its quiet line is taken
// in a call of its own, inside the waiting one. A unit that keeps sending (a
// chattering contact) would nest those calls without end until the stack runs
// out; past this depth its further characters join the message of the
// innermost call instead.
constexpr int kMaxNesting = 16;
int nesting = 0;
} // namespace

void checkUnsolicited()
{
    SerialLink &link = serialLink();
    if (link.received().size() < kHeaderLength || MessageHeader::of(link.received()).kind != kAutomaticKind)
        return;
    if (nesting >= kMaxNesting)
        return;
    // The collection is one exchange: an operator's request meanwhile is
    // refused and the tick's polls and tasks wait, since emptying the buffer
    // now would cut the message. Under a request that was already waiting the
    // message is collected all the same and that request fails.
    BusTransaction exchange;
    UnattendedScope unattended;
    QString first;
    link.takeReceived(kMaxTake, first);
    ++nesting;
    link.waitLineIdle(kQuietLineMs);
    --nesting;
    QString rest;
    link.takeReceived(kMaxTake, rest);
    handleAutoStatus(first + rest);
}

void handleAutoStatus(const QString &message)
{
    const QString description = describeMessage(message);
    logAllgemein(QStringLiteral("Automatische Statusmeldung erhalten\r\n") + description
                 + QStringLiteral("\r\n\r\n"));
    appView().appendAlert(description);
}

void installAutoMessageCheck() { serialLink().setUnsolicitedCheck(checkUnsolicited); }
