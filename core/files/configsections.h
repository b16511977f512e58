#pragma once
// The sections of "Nuvax.ini" that fill the station's settings: window place,
// instance name, the schedules of the automatic tests and the result signal.
// The port section lives with the serial link.
#include <QString>

// The main window's place and size; the file keeps them in twips, 15 to the pixel.
// Keys that are missing or unreadable centre the window on the screen at its
// current size.
void loadWindowPos();
void saveWindowPos();

// "Nuvax PC-Zentrale", followed by " - " and the instance name when there is one.
QString programCaption(const QString &instanzname);
void loadInstanzname();

void loadAutoPruefungConfig();
void loadSignalConfig();
// False when a key could not be written; the operator has been told.
bool saveAutoPruefungConfig();
bool saveSignalConfig();
