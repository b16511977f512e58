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

// Tells the window what one change of the state changed: the bus turning
// busy or free, and a foreground owner coming or going, whose exchange the
// operator's input must not cut into. Claims nest, and a refused claim changes
// nothing, so the window hears each edge once.
class BusyWatch
{
public:
    BusyWatch() : m_owner(busOwner()) {}
    ~BusyWatch()
    {
        const BusUser owner = busOwner();
        if ((owner != BusUser::None) != (m_owner != BusUser::None))
            appView().showBusBusy(owner != BusUser::None);
        if ((owner == BusUser::Foreground) != (m_owner == BusUser::Foreground))
            appView().holdOperatorInput(owner == BusUser::Foreground);
    }

private:
    BusUser m_owner;
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
