#pragma once
// Every wait of the station lets pending events run, so the tick and the
// receive path run inside it. Tests install fakes that advance a fake clock.
class Waits
{
public:
    virtual ~Waits() = default;
    // Lets pending window and port events run.
    virtual void pumpEvents() = 0;
    // A plain sleep: no event runs meanwhile.
    virtual void sleepMs(int ms) = 0;
};

class EventLoopWaits : public Waits
{
public:
    void pumpEvents() override;
    void sleepMs(int ms) override;
};

Waits &appWaits();
// Installs the waits for the whole program; nullptr goes back to the real ones.
void installWaits(Waits *waits);
