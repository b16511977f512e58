#pragma once
// Brings the station up in its fixed order: tables and templates, the data
// files, then the main window (so its lists show what was read), the port,
// the instance name and the automatic-test settings.
#include <QStringList>
#include <functional>
#include <memory>

class MainWindow;

// A start on a program folder that does not exist is refused before anything
// touches it: said on standard error and, on a desktop, in a box the operator
// closes or that closes itself after a few seconds. True when refused.
bool refuseMissingProgramFolder();

// arguments as QCoreApplication::arguments() gives them. windowBuilt runs as
// soon as the window exists, before it is filled (whose boxes it may parent).
std::unique_ptr<MainWindow> startStation(const QStringList &arguments,
                                         const std::function<void(MainWindow &)> &windowBuilt = {});
