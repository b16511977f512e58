#pragma once
// Who may use the bus. Only one exchange may use the receive buffer at a time,
// and an operator's request must not cut into a test, a poll or a task. Each
// claim holds for the life of its scope object.
//
// - BusClaim(BusUser::Background): an automatic test, its poll, a task. Nests
//   (a background owner may claim again); refused while a foreground request
//   owns the bus. The tick defers its schedule checks while busOwner() is
//   Foreground and looks again at a later tick.
// - BusClaim(BusUser::Foreground): an operator's request (status display,
//   search, expert command); refused while anyone else owns the bus.
// - BusTransaction: one exchange (empty the buffer, send, wait, take; or the
//   collection of a unit's automatic message); refused while another exchange
//   runs, whoever owns the bus. An exchange that runs while nobody owns the
//   bus counts as a foreground owner.
//
// While a foreground owner holds the bus the window holds the operator's input
// off (StationView::holdOperatorInput), so the exchange ends on its own time.
#include <QString>

enum class BusUser { None, Foreground, Background };

class BusClaim
{
public:
    explicit BusClaim(BusUser user);
    ~BusClaim();
    BusClaim(const BusClaim &) = delete;
    BusClaim &operator=(const BusClaim &) = delete;

    bool granted() const { return m_granted; }

private:
    bool m_granted = false;
};

class BusTransaction
{
public:
    BusTransaction();
    ~BusTransaction();
    BusTransaction(const BusTransaction &) = delete;
    BusTransaction &operator=(const BusTransaction &) = delete;

    bool granted() const { return m_granted; }

private:
    bool m_granted = false;
};

BusUser busOwner();
// The reason to give the operator for a refused claim or exchange.
QString busBusyReason();
// Drops every claim (tests, and a fresh link).
void resetBusClaims();
