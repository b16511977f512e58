#pragma once
// Where the units' messages stand in what the line brought. Nothing on the bus
// marks a message's end but its header's total length, and when the mains fail
// many units report at once, their messages following one another with short
// pauses or none. So a message ends at its total length once another message
// begins behind it; characters behind that length which begin no message (a
// line end the unit adds, the noise of a faulty unit) stay with it.
#include <QStringView>

// Twelve characters or more with ".A" at characters 4-5: the receive path
// collects what stands at the front of the buffer as soon as this holds.
bool beginsAutomaticMessage(QStringView text);

// A whole valid header with ".A" for its kind stands at the text's front.
bool isAutomaticHeader(QStringView text);

// The first position from `from` on where a whole valid header stands, of any
// kind or of an automatic message; -1 when there is none.
qsizetype findMessageHeader(QStringView text, qsizetype from);
qsizetype findAutomaticHeader(QStringView text, qsizetype from);

// The total length the header at the text's front gives; 12 when it gives none.
qsizetype declaredLength(QStringView text);

// The message at the text's front ends where the next message's whole valid
// header stands, looked for from its total length on; -1 while none follows.
qsizetype endBeforeNextMessage(QStringView text);

// Where the text's last characters, fewer than 12, may be the start of a
// unit's automatic message still arriving: an address ("S" or a digit, then
// digits) and ".A" as far as they go. text.size() when they cannot be.
// Looked for from `from` on.
qsizetype possibleAutomaticStart(QStringView text, qsizetype from);
