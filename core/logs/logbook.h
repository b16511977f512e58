#pragma once
// The folder "logs/" under the program folder, and the logbook page's view of
// it: the list of logs and one log shown line by line.
#include "core/platform/fileerror.h"
#include "core/station/stationview.h"

#include <QString>
#include <QStringList>
#include <optional>

// The folder of every log, with a trailing "/".
QString logsPath();
// Creates the folder when missing; why it cannot be had otherwise (a file of
// that name, a full disk).
std::optional<FileError> makeLogsFolder();

// The whole file as text; empty when the file is missing, empty or unreadable.
QString readFileText(const QString &path);

// Lists the logs anew: "_Allgemein_" for the general log first, then the days
// of the test logs ("yyyy_MM_dd") ascending. The log view is emptied.
void fillLogList();

// Shows one log of the folder. A missing log leaves the view as it is.
void showLogFile(const QString &fileName, bool colored);
// The lines of a log with their colours: a line naming a status that is later
// called ok is green, a line naming any other status red; every other line
// goes on in the colour before it.
QList<LogViewLine> colorLogLines(const QStringList &lines, bool colored);
