#pragma once
#include <QString>

// The program folder with one trailing "/": the folder named by NUVAX_HOME,
// else the executable's folder. Every file of the station lies in it or in
// its "logs/" folder.
QString getAppPath();
