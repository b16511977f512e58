#pragma once
#include <QString>

// The program folder with one trailing "/": the folder named by NUVAX_HOME,
// else the executable's folder. Every file of the station lies in it or in
// its "logs/" folder.
QString getAppPath();

// The folder NUVAX_HOME names when it is no existing folder, else empty. The
// station does not start there: a mistyped name would begin a new, empty
// installation beside the real one.
QString missingProgramFolder();
