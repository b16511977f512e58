#pragma once
// The station's heartbeat: the main window's timer calls it every second, and
// a running task calls it while it waits, so the clock and the schedules go on.

void timerTick();

// The schedules count the minutes from now on; called once before the first
// tick, so a minute that passes before a schedule first gets to look (the
// first tick held by a test it started at once) is made up like any other.
void startSchedules();
