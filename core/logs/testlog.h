#pragma once
// The daily logs of the automatic test, "logs/AutoTest_yyyy_MM_dd.log".
#include "core/station/stationsettings.h"

#include <QString>

// Creates or replaces the log with its header block.
bool writeAutoTestLogHeader(const QString &fileName, TestArt kind);
// Appends one line (CR LF added).
bool appendLog(const QString &fileName, const QString &text);
