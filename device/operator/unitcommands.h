#pragma once
// What the operator sends to one unit: a switch command of the unit menu, the
// reset of the result signal and the group assignment. Neither cuts into a test, a poll
// or a task: while one owns the bus a box gives the reason and nothing is sent.
#include <QString>

// Unit 42 into group 7 is "042G07" and a line feed; the line feed comes last.
QString groupAssignFrame(int addr, int group);

// Sends line feed, the unit's bus address and the code ("R00", "P00", "p00", "A00").
// Like every switch command, a closed port or a failed write goes unreported.
void sendUnitCommand(int addr, const QString &code);

// Sends the group frame twice, a plain 250 ms apart, and tells the operator in
// a box whether both writes reached the port.
void assignGroup(int addr, int group);
