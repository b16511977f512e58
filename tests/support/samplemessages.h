#pragma once
// Well-formed status messages of every device type, with everything quiet and
// OK, for tests that need a unit's answer. Positions are 1-based.
#include <QList>
#include <QString>
#include <QStringList>

// A well-formed answer of the device type 1..13 from the given bus address,
// its header carrying the true total length.
QString sampleMessage(int deviceType, const QString &address = QStringLiteral("001"));
// The message with the characters from position pos on replaced by text.
QString withAt(QString message, int pos, const QString &text);

// The units' own messages when the mains fail, from units 1 to count in turn of the types 0403 (a contact
// tripped), 2001, 1000 and 0203: 46 characters on average. The sixth breaks its type's grammar, the
// eighth ends with a line end and the twelfth names a type no table holds.
QStringList mainsFailureMessages(int count);
// Pauses in front of each of them, under the quiet line that ends a message: none, or 20 to 450 ms.
QList<int> mainsFailurePauses(int count);
// The alerts the messages get, each as it gets it alone.
QStringList alertsOf(const QStringList &messages);
