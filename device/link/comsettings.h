#pragma once
// The COM section of "Nuvax.ini": which port the station opens and in which mode.
// Loading and saving both (re)open the port; a port that cannot be opened is
// reported and the station goes on with it closed, until the watch over the
// port (portwatch.h) opens it.
#include <QString>

// Why a test or a task could not reach the units: "die Schnittstelle COM1
// nicht geöffnet ist", for the end of a German sentence.
QString portNotOpen();

// At start and by "Zurücksetzen"; ends by loading the instance name.
void loadComSettings();
// Writes the port and mode in the settings, then reopens the port.
void saveComSettings();
