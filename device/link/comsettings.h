#pragma once
// The COM section of "Nuvax.ini": which port the station opens and in which mode.
// Loading and saving both (re)open the port; a port that cannot be opened is
// reported and the station goes on with it closed, until the watch over the
// port (portwatch.h) opens it.
#include <QString>

// The port as the operator knows it: the first port is "COM1".
QString comPortName();

// At start and by "Zurücksetzen"; ends by loading the instance name.
void loadComSettings();
// Writes the port and mode in the settings, then reopens the port.
void saveComSettings();
