#include "core/platform/apppath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString missingProgramFolder()
{
    const QString folder = qEnvironmentVariable("NUVAX_HOME");
    return folder.isEmpty() || QFileInfo(folder).isDir() ? QString() : folder;
}

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
