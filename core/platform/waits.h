#pragma once
// Every wait of the station lets pending events run, so the tick and the
// receive path run inside it. Tests install fakes that advance a fake clock.
class Waits
{
public:
    virtual ~Waits() = default;
    // Lets pending window and port events run. The status bar's clock is set
    // first: the tick cannot run while one of its own waits (a poll, the end
    // of a test) holds it, and the clock must not stand still meanwhile.
    void pumpEvents();
    // A plain sleep: no event runs meanwhile.
    virtual void sleepMs(int ms) = 0;

protected:
    virtual void runPendingEvents() = 0;
};

class EventLoopWaits : public Waits
{
public:
    void sleepMs(int ms) override;

protected:
    void runPendingEvents() override;
};

Waits &appWaits();
// Installs the waits for the whole program; nullptr goes back to the real ones.
void installWaits(Waits *waits);
