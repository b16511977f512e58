#pragma once
// The search for units on the bus. Every address of the range is asked with the
// find or the status command, twice at most, and an address whose answer starts
// with a well-formed header of that same address counts as found. The search
// wizard shows the progress and, on "Fertig", commits the result to the registry.
//
// The search owns the bus for its whole run, so the tick starts no test or task
// meanwhile; the waits let events run, so a Stop or a close of the wizard reaches
// the loop between tries.
#include <QString>
#include <array>
#include <bitset>

enum class SearchMode { Bestandsaufnahme = 0, NurNeueGeraete = 1 };

struct SearchOptions
{
    SearchMode mode = SearchMode::Bestandsaufnahme;
    bool statusCommand = false;     // "STATUS-Suche" instead of "FIND-Suche"
    bool specialAddresses = false;  // S01 to S99 before the ordinary addresses
    int startAddress = 1;           // 1..999
};

// What the search reports while it runs; the wizard shows it.
class SearchProgress
{
public:
    virtual ~SearchProgress() = default;
    // "Adresse: 42/999   Versuch #1"
    virtual void showSearchStatus(const QString &text) = 0;
    virtual void addSearchInfo(const QString &text) = 0;
    virtual void addFoundUnit(int address, const QString &deviceTypeName) = 0;
};

class UnitSearch
{
public:
    enum class Outcome {
        Finished,    // also after a Stop, a close, a failed send or a lost line
        PortClosed,  // refused: nothing asked, nothing to commit
        BusBusy,     // refused: a test, a poll, a task or a query owns the bus
    };

    // Runs a whole search from scratch; the results of an earlier run are dropped.
    Outcome run(const SearchOptions &options, SearchProgress &progress);
    // "Stop": ends the phase that runs; a stop among the special addresses goes
    // on with the ordinary ones.
    void stopPhase() { m_stopPhase = true; }
    // The wizard is being closed: ends the whole search.
    void cancel() { m_cancelled = true; }
    bool running() const { return m_running; }

    // "Fertig": registers every unit found. In "Bestandsaufnahme" the units at
    // the addresses this search asked and found nothing at are removed; an
    // address it never asked keeps its unit. "Units.dat" is written in any case.
    void commit();

private:
    // Aborted: the send failed, the line was lost or another exchange holds the
    // buffer; the search ends and the address counts as not asked.
    enum class Probe { Found, NotFound, Stopped, Aborted };
    bool probeRange(int first, int last, SearchProgress &progress);
    Probe probe(int address, SearchProgress &progress);
    QString statusText(int address, int attempt) const;

    SearchOptions m_options;
    std::array<QString, 2001> m_frames;  // the header of each address found
    std::bitset<2001> m_asked;           // addresses whose probe came to an end
    bool m_done = false;
    bool m_running = false;
    bool m_stopPhase = false;
    bool m_cancelled = false;
};
