#include "device/link/busclaim.h"

#include "core/station/stationview.h"

namespace {
struct BusState
{
    BusUser owner = BusUser::None;
    int depth = 0;
    bool exchange = false;
};

BusState &state()
{
    static BusState instance;
    return instance;
}

// Tells the window when the bus turns busy or free across one change of the state.
class BusyWatch
{
public:
    BusyWatch() : m_busy(busOwner() != BusUser::None) {}
    ~BusyWatch()
    {
        if ((busOwner() != BusUser::None) != m_busy)
            appView().showBusBusy(!m_busy);
    }

private:
    bool m_busy;
};
} // namespace

BusUser busOwner()
{
    const BusState &s = state();
    if (s.owner != BusUser::None)
        return s.owner;
    return s.exchange ? BusUser::Foreground : BusUser::None;
}

BusClaim::BusClaim(BusUser user)
{
    const BusyWatch watch;
    const BusUser owner = busOwner();
    if (user == BusUser::Background)
        m_granted = owner == BusUser::None || owner == BusUser::Background;
    else if (user == BusUser::Foreground)
        m_granted = owner == BusUser::None;
    if (m_granted) {
        state().owner = user;
        ++state().depth;
    }
}

BusClaim::~BusClaim()
{
    const BusyWatch watch;
    BusState &s = state();
    if (!m_granted || s.depth == 0)
        return;
    if (--s.depth == 0)
        s.owner = BusUser::None;
}

BusTransaction::BusTransaction()
{
    const BusyWatch watch;
    if (!state().exchange) {
        state().exchange = true;
        m_granted = true;
    }
}

BusTransaction::~BusTransaction()
{
    const BusyWatch watch;
    if (m_granted)
        state().exchange = false;
}

QString busBusyReason()
{
    if (state().owner == BusUser::Background)
        return QStringLiteral("Schnittstelle belegt: eine automatische Prüfung oder ein Timer fragt gerade die Geräte ab");
    return QStringLiteral("Schnittstelle belegt: eine andere Abfrage läuft gerade");
}

void resetBusClaims()
{
    const BusyWatch watch;
    state() = {};
}
