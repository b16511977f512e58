#pragma once
// The layout of every device type's status message as one pattern each (see
// device/pattern.h). Positions are 1-based from the first header character.
// A pattern without "*" fixes the length; with it only the minimum.
#include <QString>
#include <QStringView>

// The pattern of a device type 1..13; "" for any other number.
QStringView syntaxPattern(int deviceType);
// Whether the whole message fits the layout of the given device type,
// whatever type its own header names.
bool checkSyntax(int deviceType, const QString &message);
// Whether the message fits the layout of the device type its header names;
// false for an invalid header or an unknown type code.
bool checkMessageSyntax(const QString &message);
