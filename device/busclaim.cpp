#include "device/busclaim.h"

#include "core/stationview.h"

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
} // namespace

BusUser busOwner()
{
    const BusState &s = state();
    if (s.owner != BusUser::None)
        return s.owner;
    return s.exchange ? BusUser::Foreground : BusUser::None;
}

BusClaim::BusClaim(BusUser user) : m_user(user)
{
    const BusUser owner = busOwner();
    if (user == BusUser::Background)
        m_granted = owner == BusUser::None || owner == BusUser::Background;
    else if (user == BusUser::Foreground)
        m_granted = owner == BusUser::None;
    if (m_granted) {
        state().owner = user;
        if (++state().depth == 1 && user == BusUser::Background)
            appView().showBackgroundWork(true);
    }
}

BusClaim::~BusClaim()
{
    BusState &s = state();
    if (!m_granted || s.depth == 0)
        return;
    if (--s.depth == 0) {
        s.owner = BusUser::None;
        if (m_user == BusUser::Background)
            appView().showBackgroundWork(false);
    }
}

BusTransaction::BusTransaction()
{
    if (!state().exchange) {
        state().exchange = true;
        m_granted = true;
    }
}

BusTransaction::~BusTransaction()
{
    if (m_granted)
        state().exchange = false;
}

QString busBusyReason()
{
    if (state().owner == BusUser::Background)
        return QStringLiteral("Schnittstelle belegt: eine automatische Prüfung oder ein Timer fragt gerade die Geräte ab");
    return QStringLiteral("Schnittstelle belegt: eine andere Abfrage läuft gerade");
}

void resetBusClaims() { state() = {}; }
