#pragma once
// How the main window first appears, as the command line asks for it.
#include <QStringList>

struct StartOptions
{
    bool startMinimized = false;  // "/min" anywhere in the command line
    bool startMaximized = false;  // "/max" anywhere; wins over "/min"
};

StartOptions &startOptions();
// Sets startOptions() anew from the program's arguments (the program name first, as
// QCoreApplication::arguments() gives them). The words are matched exactly, also
// inside longer words.
void readStartOptions(const QStringList &arguments);
