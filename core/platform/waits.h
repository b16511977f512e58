#pragma once
// core/platform: what the station needs of the machine, each behind a seam
// the tests replace: the clock, the waits, the program folder, the disk's
// writes; scratch pages given back as soon as they are used (pagebuffer.h);
// and the plain conversions every layer shares (Windows-1252, OLE dates,
// numbers and truth values in texts, the bit set). Nothing here knows a unit.
//
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
    // True while events run inside a wait: whatever runs in them must give the
    // stack back soon, because the wait looks at its condition in between.
    bool pumping() const { return m_pumping > 0; }
    // A plain sleep: no event runs meanwhile.
    virtual void sleepMs(int ms) = 0;

protected:
    virtual void runPendingEvents() = 0;

private:
    int m_pumping = 0;
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
