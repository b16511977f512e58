#pragma once
// device/messages: what units send. The header (here), the device types, the
// grammar of every type's message, the status request, the evaluation of an
// automatic test and the units' own automatic messages with their describers.
// Called by the polls, the status query, the search and the receive path.
//
// The 12 characters every message of a unit begins with, answer or automatic:
//   1-3 address, 4-5 kind (".A" automatic), 6-9 type code, 10-12 total length.
// Nothing on the bus marks the end of a message; only the total length does.
#include <QString>
#include <QStringView>

constexpr int kHeaderLength = 12;
inline constexpr QStringView kHeaderPattern = u"?##??#######";
inline constexpr QStringView kAutomaticKind = u".A";

struct MessageHeader
{
    QString address;     // the sender's bus address, as sent
    QString kind;
    QString typeCode;
    QString totalLength; // three digits in a valid header

    // The fields of the first 12 characters; shorter texts give shorter fields.
    static MessageHeader of(const QString &message);
};

// At least 12 characters whose first 12 match the header pattern.
bool isValidHeader(const QString &message);

// The characters still to read behind a valid header: its total length less
// the header itself. -1 when the total length is below 12, so the header
// cannot start a message and no negative count is ever read.
int remainingLength(const QString &header);

// The registry address of the message's sender, or -1 when its first three
// characters are no address of the registry (line noise such as "X01").
int senderAddress(const QString &message);

// Part n of the description of the message's sender, as it goes into a log
// line or a fault text: its control characters as visible stand-ins, so a
// line break the operator pasted into it starts no line of its own. "" when
// the sender's address is unreadable, so line noise never reaches into the
// registry.
QString senderDescription(const QString &message, int part);
