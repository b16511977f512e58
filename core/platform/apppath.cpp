#include "core/platform/apppath.h"

#include <QCoreApplication>
#include <QDir>

QString getAppPath()
{
    QString folder = qEnvironmentVariable("NUVAX_HOME");
    if (folder.isEmpty())
        folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                              : QDir::currentPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}
