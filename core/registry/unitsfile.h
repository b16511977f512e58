#pragma once
// "Units.dat": the unit registry on disk. Read at start; written after every
// poll, search, description edit and deletion.

// Rewrites "Units.dat" from the registry; with refresh, the overview list too.
bool saveUnits(bool refresh);
// Reads the registry from "Units.dat"; with refresh, the overview list too.
bool loadUnits(bool refresh);
// Empties the registry and saves the empty file.
void deleteAllUnits();
