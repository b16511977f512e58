#pragma once
// One unit's status: the request/answer exchange behind the status display and
// the automatic test's poll.
#include <QString>

// Asks the unit at address (1..2000) for its status message with the frame
// LF, bus address, "S", suffix. Returns the answer's length, or -1 on failure.
// From the moment the whole answer is read it is in answer, also when it then
// fails its device type's grammar. reason, when given, receives "kein Fehler"
// or the German reason of the failure.
int requestStatus(int address, QString &answer, const QString &suffix = QStringLiteral("00"),
                  QString *reason = nullptr);
