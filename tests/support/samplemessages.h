#pragma once
// Well-formed status messages of every device type, with everything quiet and
// OK, for tests that need a unit's answer. Positions are 1-based.
#include <QString>

// A well-formed answer of the device type 1..13 from the given bus address,
// its header carrying the true total length.
QString sampleMessage(int deviceType, const QString &address = QStringLiteral("001"));
// The message with the characters from position pos on replaced by text.
QString withAt(QString message, int pos, const QString &text);
