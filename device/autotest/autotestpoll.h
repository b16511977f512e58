#pragma once
// The poll after the countdown: every registered unit is asked for its status
// up to three times, judged, recorded in the registry and the day's test log;
// then the end broadcasts and, after a function test, the result signal. A
// port that is lost on the way breaks the run off: what could not be asked
// keeps its state, since a unit that cannot hear the question is no faulty one.

// Whether the poll of a test kind asks the unit at all.
bool istAbzufragen(int adr, int art);

void frageGeraeteAbPruefung();
void frageGeraeteAbDauertest();

// The end broadcasts of a test kind; other kinds send nothing. False when
// they could not all go out because the port is not open.
bool sendeTestEnde(int art);

// Ends the day's test log of a run that the loss of the port broke off.
void logAbbruch();

// Switches the signal unit to show whether any unit is faulty.
void sendeErgebnisSignal();
