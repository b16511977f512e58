#pragma once
// Status messages that units send by themselves, marked ".A" in the header's
// kind. The receive path hands every buffer of 12 characters or more to
// checkUnsolicited(); each automatic message at its front is collected until
// its end (messageframing.h), described, logged and shown in the alert window,
// one entry a message, in the order they came. Before the buffer is emptied
// (a request clears it, or its characters went stale), the automatic messages
// in it get their entries too.
#include <QString>

// Collects the automatic messages that stand at the front of the buffer, one
// after the other. Characters in front of a message that no exchange waits
// for belong to nobody and are dropped; a message is looked for among the
// characters from firstUnseen on (and the header's length before them). It
// waits inside the receive path; a call made meanwhile leaves the buffer to
// the running one.
void checkUnsolicited(qsizetype firstUnseen);
// Puts the automatic messages into the serial link's receive path.
void installAutoMessageCheck();
// Writes the message's description to the general log and the alert window.
void handleAutoStatus(const QString &message);
