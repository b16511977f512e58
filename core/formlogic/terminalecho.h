#pragma once
// What the serial terminal shows of a text that passed the line: received
// characters in red, sent ones in blue; line feed and carriage return become
// the markers "ß" and "ü" in green (received) or yellow (sent). A "ß" or "ü" of
// the data itself keeps the characters' colour.
#include "core/station/stationview.h"

#include <QList>

constexpr int kEchoReceived = 1;
constexpr int kEchoSent = 2;  // any value but kEchoReceived counts as sent

struct EchoRun
{
    QString text;
    WinColor color = 0;
};

// Neighbouring characters of one colour form one run. Without marking, the
// whole text is one run in the characters' colour, each line break in it one
// line feed.
QList<EchoRun> terminalRuns(int direction, const QString &text, bool markText);
