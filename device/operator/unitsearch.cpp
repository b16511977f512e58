#include "device/operator/unitsearch.h"

#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/messages/messageheader.h"

namespace {
constexpr int kQuietLineMs = 500;
constexpr int kFirstSpecial = kFirstSpecialAddress + 1;  // "S00" is never asked
constexpr int kLastSpecial = kFirstSpecialAddress + 99;
constexpr int kLastOrdinary = 999;

// The second try waits longer for a slow unit.
struct TryWait { int timeoutMs; int idleMs; };
constexpr TryWait kTries[] = {{2000, 500}, {3000, 2000}};

// Clears the running mark on every way out.
class RunningMark
{
public:
    explicit RunningMark(bool &flag) : m_flag(flag) { m_flag = true; }
    ~RunningMark() { m_flag = false; }
    RunningMark(const RunningMark &) = delete;
    RunningMark &operator=(const RunningMark &) = delete;

private:
    bool &m_flag;
};
} // namespace

UnitSearch::Outcome UnitSearch::run(const SearchOptions &options, SearchProgress &progress)
{
    // With the port closed every try would fail at once, and a "Fertig" after
    // such a run would empty the registry.
    if (!settings().portOk)
        return Outcome::PortClosed;
    const BusClaim claim(BusUser::Foreground);
    if (!claim.granted())
        return Outcome::BusBusy;

    const RunningMark mark(m_running);
    m_options = options;
    m_frames.fill(QString());
    m_asked.reset();
    m_done = true;
    m_stopPhase = false;
    m_cancelled = false;

    if (options.specialAddresses) {
        progress.addSearchInfo(QStringLiteral("Suche nach Sonderadressen"));
        progress.addSearchInfo(QStringLiteral("('Stop' wählen um nach anderen Geräten zu suchen)"));
        if (!probeRange(kFirstSpecial, kLastSpecial, progress))
            return Outcome::Finished;
    }
    m_stopPhase = false;
    progress.addSearchInfo(QStringLiteral("Suche nach anderen Geräten"));
    probeRange(options.startAddress, kLastOrdinary, progress);
    return Outcome::Finished;
}

bool UnitSearch::probeRange(int first, int last, SearchProgress &progress)
{
    for (int address = first; address <= last; ++address) {
        if (m_options.mode != SearchMode::Bestandsaufnahme && unitExists(address))
            continue;
        switch (probe(address, progress)) {
        case Probe::Found:
            progress.addFoundUnit(address, getDeviceTypeName(m_frames[address]));
            [[fallthrough]];
        case Probe::NotFound:
            m_asked.set(address);
            appWaits().pumpEvents();
            break;
        case Probe::Stopped:
            return !m_cancelled;
        case Probe::Aborted:
            return false;
        }
    }
    return true;
}

UnitSearch::Probe UnitSearch::probe(int address, SearchProgress &progress)
{
    SerialLink &link = serialLink();
    const QString busAddress = formatUnitAddress(address);
    const QString frame = QStringLiteral("\n") + busAddress
                          + (m_options.statusCommand ? QStringLiteral("S00") : QStringLiteral("F00"));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        progress.showSearchStatus(statusText(address, attempt));
        if (m_stopPhase || m_cancelled)
            return Probe::Stopped;
        const BusTransaction exchange;
        if (!exchange.granted())
            return Probe::Aborted;
        link.waitLineIdle(kQuietLineMs);
        link.clearReceived();
        if (!settings().portOk || link.sendCommand(frame))
            return Probe::Aborted;
        const TryWait wait = kTries[attempt - 1];
        const bool answered = link.waitForReceived(kHeaderLength, wait.timeoutMs, wait.idleMs) == 0;
        // A line lost during the wait is no silent unit: the address stays unasked.
        if (!settings().portOk)
            return Probe::Aborted;
        QString header;
        // The rest of the answer stays in the buffer until the next address
        // empties it. An answer from another address (a unit set twice, line
        // noise) must not register a unit here.
        if (answered && link.takeReceived(kHeaderLength, header) > 0 && isValidHeader(header)
            && header.left(3) == busAddress) {
            m_frames[address] = header.left(kHeaderLength);
            return Probe::Found;
        }
    }
    return Probe::NotFound;
}

QString UnitSearch::statusText(int address, int attempt) const
{
    const bool special = address > kLastOrdinary;
    return QStringLiteral("Adresse: ") + (special ? formatUnitAddress(address) : QString::number(address))
           + (special ? QStringLiteral("/99") : QStringLiteral("/999")) + QStringLiteral("   Versuch #")
           + QString::number(attempt);
}

void UnitSearch::commit()
{
    if (m_done) {
        for (int address = 1; address <= kMaxUnitAddress; ++address) {
            if (!m_frames[address].isEmpty())
                addUnit(address, m_frames[address]);
            else if (m_options.mode == SearchMode::Bestandsaufnahme && m_asked.test(address))
                deleteUnit(address);
        }
    }
    saveUnits(true);
    updateSystemStatus();
    m_done = false;
}
