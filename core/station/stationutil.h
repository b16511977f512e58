#pragma once
// Small services every part of the station uses: the activity text of the
// status bar, a wait that keeps the window alive, and random identifiers.
#include <QString>

// Panel 2 of the status bar: what the station is doing right now.
void setStatusText(const QString &text);
// Panel 4 of the status bar: weekday, date and time, e.g. "Montag 07.03.2011 14:05".
void showClock();
// About n seconds in steps of 200 ms, letting pending events run around each step.
void waitSeconds(int n);
// n characters from "#" (35) to "}" (125).
QString randomString(int n);
