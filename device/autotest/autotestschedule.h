#pragma once
// device/autotest: the automatic function and duration tests: the running
// state in the ini file (autoteststate.h), this schedule and start, the poll
// and end (autotestpoll.h), and the one-second tick that drives them and the
// tasks (timertick.h), called by the main window's timer.
//
// When the automatic tests fall due, how a run starts on the bus, and the
// countdown from the start broadcasts to the poll of the units. The tick
// drives all of it: first the schedule, then the poll trigger.
#include "core/station/stationsettings.h"

#include <QDateTime>

// Whether a schedule falls due at `now` after a last run at `lastRun`; a slot
// is due during the whole of its minute. The daily interval exists only for
// the function test.
bool istFaellig(const TestSchedule &schedule, const QDateTime &lastRun, const QDateTime &now,
                bool dailyAllowed);

// Starts the tests that fall due now, the duration test first; a slot in the
// minutes the schedule could not look at starts late. A slot due while the
// port is not open does not start and is logged.
void pruefeZeitplan();

// Starts a run of the kind: log header, running state, the start broadcasts.
// A run that starts late names its slot, which is recorded as its last run so
// that the interval rules count it in the slot's own day, week or month.
// 0 started, 1 not started or given up. Not started while another test runs or
// the port is not open: a caller that passes a text receives the reason.
int starteAutoPruefung(int art, const QDateTime &slot = {}, QString *reason = nullptr);

// Shows the countdown of the running test and starts its poll when it has run out.
void pruefeAbfrage();

// Shows the schedules and the result signal on the configuration page.
void aktualisiereAPAnzeige();
// The caption text of one schedule, "NICHT AKTIV!" when it is off.
QString scheduleDisplayText(const TestSchedule &schedule, bool withAkkulaufzeit, int akkulaufzeit);
