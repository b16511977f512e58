#pragma once
// The daily logs of the automatic test, "logs/AutoTest_yyyy_MM_dd.log".
#include "core/station/stationsettings.h"

#include <QString>

// Starts a test's part of the day's log with its header block, after the
// parts of the day's earlier tests: their results are records to be kept.
bool writeAutoTestLogHeader(const QString &fileName, TestArt kind);
// Appends one line (CR LF added). Both are false when the log could not be
// written now: what was to be written is kept until it can be (keptentries.h).
bool appendLog(const QString &fileName, const QString &text);
