#pragma once
// device/operator: what goes on the bus on the operator's word: the expert
// panel's and terminal's commands (here), the overview's unit commands
// (unitcommands.h) and the search for units (unitsearch.h). Each refuses while
// a test, a poll or a task owns the bus.
//
// A command of the installer's own, from the expert panel or the terminal's
// "Senden". It must not cut into a test, a poll, a task or a query that waits
// for its answer on the same line.
#include <QString>

// Sends the text unchanged; false with the reason, and nothing sent, while
// someone else uses the bus. A failed write is not reported.
bool sendOperatorCommand(const QString &text, QString *refusal);
