#include "device/link/portwatch.h"

#include "core/logs/generallog.h"
#include "core/platform/clock.h"
#include "core/station/prompts.h"
#include "core/station/recurringnotice.h"
#include "core/station/stationsettings.h"
#include "core/station/stoprequest.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"

#include <optional>
#include <utility>

namespace {

// Often enough that a test or task a few minutes later finds the adapter back,
// seldom enough that a missing device costs nothing.
constexpr qint64 kRetryMs = 60000;

// The monotonic time of the next try; none while the port is open.
std::optional<qint64> nextTryMs;

// A line that breaks every minute all night leaves one box for the morning.
RecurringNotice lostNotice(QStringLiteral("portLost"), Prompts::Icon::Exclamation, QStringLiteral("Unterbrechungen"));

// The port another reader was told for.
QString otherReaderTold;

qint64 nowMs() { return appClock().monotonicMs(); }

} // namespace

void reportPortLost(const QString &reason)
{
    nextTryMs = nowMs() + kRetryMs;
    const QString text = QStringLiteral("Die Verbindung zur Schnittstelle ") + settings().comPortName()
                         + QStringLiteral(" wurde unterbrochen: '") + reason
                         + QStringLiteral("'. Die Schnittstelle wird jede Minute neu geöffnet, bis sie wieder "
                                          "bereit ist.");
    logAllgemein(text);
    // The line may break in the middle of the night: the box waits for nobody.
    UnattendedScope unattended;
    lostNotice.tell(text, QStringLiteral("COM"));
}

void reportOtherReader()
{
    const QString port = settings().comPortName();
    if (std::exchange(otherReaderTold, port) == port)
        return;
    const QString text = QStringLiteral("Ein anderes Programm liest ebenfalls von der Schnittstelle ") + port
                         + QStringLiteral(". Meldungen der Geräte können dabei verloren gehen.");
    logAllgemein(text);
    UnattendedScope unattended;
    lostNotice.note(text, QStringLiteral("COM"));
}

void keepPortOpen()
{
    if (serialLink().portOpen()) {
        nextTryMs.reset();
        return;
    }
    if (!nextTryMs) {
        nextTryMs = nowMs() + kRetryMs;
        return;
    }
    // A try empties the buffer and may send the adapter's greeting: never under
    // somebody's exchange, nor once the station is ending.
    if (nowMs() < *nextTryMs || stopRequested() || busOwner() != BusUser::None)
        return;
    nextTryMs = nowMs() + kRetryMs;
    if (serialLink().openComPort(settings().comPort + 1))
        logAllgemein(QStringLiteral("Die Schnittstelle ") + settings().comPortName()
                     + QStringLiteral(" wurde wieder geöffnet."));
}

void resetPortWatch()
{
    nextTryMs.reset();
    otherReaderTold.clear();
}
