#include "core/station/startoptions.h"

StartOptions &startOptions()
{
    static StartOptions instance;
    return instance;
}

void readStartOptions(const QStringList &arguments)
{
    const QString commandLine = arguments.mid(1).join(u' ');
    StartOptions &options = startOptions();
    options.startMinimized = commandLine.contains(QStringLiteral("/min"));
    options.startMaximized = commandLine.contains(QStringLiteral("/max"));
}
