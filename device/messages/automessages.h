#pragma once
// Status messages that units send by themselves, marked ".A" in the header's
// kind. The receive path hands every buffer of 12 characters or more to
// checkUnsolicited(); an automatic message at its front is collected up to the
// moment the line falls quiet, described, logged and shown in the alert window.
#include <QString>

// Leaves the buffer alone unless an automatic message stands at its front. It
// waits inside the receive path for the quiet line, so it may run again, nested,
// when a further automatic message comes meanwhile.
void checkUnsolicited();
// Puts checkUnsolicited into the serial link's receive path.
void installAutoMessageCheck();
// Writes the message's description to the general log and the alert window.
void handleAutoStatus(const QString &message);
