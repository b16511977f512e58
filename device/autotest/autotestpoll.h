#pragma once
// The poll after the countdown: every registered unit is asked for its status
// up to three times, judged, recorded in the registry and the day's test log;
// then the end broadcasts and, after a function test, the result signal.

// Whether the poll of a test kind asks the unit at all.
bool istAbzufragen(int adr, int art);

void frageGeraeteAbPruefung();
void frageGeraeteAbDauertest();

// The end broadcasts of a test kind; other kinds send nothing.
void sendeTestEnde(int art);

// Switches the signal unit to show whether any unit is faulty.
void sendeErgebnisSignal();
