#include "device/automessages.h"

#include "core/generallog.h"
#include "core/stationview.h"
#include "device/messagedescriber.h"
#include "device/messageheader.h"
#include "device/seriallink.h"

namespace {
// The header's length is not trusted here: the message ends where the line
// falls quiet for this long.
constexpr int kQuietLineMs = 500;
constexpr int kMaxTake = 1000;
} // namespace

void checkUnsolicited()
{
    SerialLink &link = serialLink();
    if (link.received().size() < kHeaderLength || MessageHeader::of(link.received()).kind != kAutomaticKind)
        return;
    QString first;
    link.takeReceived(kMaxTake, first);
    link.waitLineIdle(kQuietLineMs);
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
