#pragma once
// device/tasks: the scheduled tasks: the table as the operator edits it
// (tasktable.h) and the runner below, which the tick calls every second.
//
// Runs the scheduled tasks: the tick asks every second which task falls due,
// one task runs at a time, and a running task gives way to an automatic test.
#include "core/files/taskrecord.h"

#include <QDateTime>
#include <QString>

// A runner as at the start: no task running, and the minutes of the schedule
// counted from now, so a task whose minute passes before the first check (the
// first tick held by a test it started) runs late instead of never.
void startTaskRunner();
bool taskLaeuft();

// Runs the tasks due now. Minutes that passed unseen while a wait of the tick
// itself held the program (a poll, the end of a duration test) are looked at too.
void checkTasks();

// Runs one task: its frames, with a pause wherever an automatic test runs.
void executeTask(const QString &taskId);

// Drives the tick once and, while an automatic test runs, keeps driving it
// until the test has ended.
void waitWhileAutoTestRuns(const QString &beschreibung);
