#pragma once
// A unit's description as the description editor edits it: one part for the
// unit and, for units with signalling contacts, one more part per contact, all
// held in the one fixed-width description field of the registry.
#include <QStringList>

// Parts 1 to getDescriptionPartCount(addr), each trimmed as lists show it.
QStringList descriptionParts(int addr);
// Stores the parts, each padded or cut to its share of the field; parts beyond
// the unit's count are ignored. False for an address outside the registry.
bool setDescriptionParts(int addr, const QStringList &parts);
