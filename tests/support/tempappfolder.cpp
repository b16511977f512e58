#include "support/tempappfolder.h"

#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Log entries kept for another folder are no concern of this one; those
// still waiting for their moment go to the folder they were made for.
TempAppFolder::TempAppFolder() : m_previous(qgetenv("NUVAX_HOME"))
{
    flushGeneralLog();
    qputenv("NUVAX_HOME", m_dir.path().toUtf8());
    keptLogEntries().forget();
}

TempAppFolder::~TempAppFolder()
{
    flushGeneralLog();
    m_previous.isEmpty() ? qunsetenv("NUVAX_HOME") : qputenv("NUVAX_HOME", m_previous);
    keptLogEntries().forget();
}

QByteArray TempAppFolder::read(const QString &relative) const
{
    flushGeneralLog();
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempAppFolder::write(const QString &relative, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(file(relative)).absolutePath());
    QFile f(file(relative));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
