#pragma once
// What the serial terminal holds, apart from its window, so that an echo costs
// the same however full the terminal is and whether it is shown or not: the
// window puts in only what came since it last looked, and shows the whole of
// it when it opens.
//
// The terminal is emptied the moment it holds more than kMaxLength characters,
// counted as shown (a marker is one character); the character that takes it
// past the limit goes with the rest, and the echo goes on into the empty
// terminal, so a message can be cut at that point.
#include "core/formlogic/terminalecho.h"

class TerminalLog
{
public:
    static constexpr qsizetype kMaxLength = 32768;

    // One echo, as terminalRuns() colours it.
    void add(int direction, const QString &text, bool markText);
    // "Datenfeld leeren".
    void clear();

    // Everything the terminal holds, oldest first.
    const QList<EchoRun> &runs() const { return m_runs; }
    qsizetype length() const { return m_length; }

    struct Change
    {
        bool emptied = false;   // the terminal was emptied since the last look
        QList<EchoRun> added;   // what then came, to put in at its end
    };
    // What changed since the last call.
    Change takeChange();

private:
    QList<EchoRun> m_runs;
    qsizetype m_length = 0;
    Change m_change;
};
