#pragma once
// Set when the station is asked to end (a signal): work that sleeps without
// letting events run (a task's pauses between its frames) looks at it and
// gives way, so the orderly close is not kept waiting.
void requestStop();   // safe inside a signal handler
bool stopRequested();
void clearStopRequest();
