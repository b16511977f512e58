#pragma once
// The station's heartbeat: the main window's timer calls it every second, and
// a running task calls it while it waits, so the clock and the schedules go on.

void timerTick();
