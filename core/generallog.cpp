#include "core/generallog.h"

#include "core/clock.h"
#include "core/codepage.h"
#include "core/logbook.h"

#include <QFile>
#include <QSaveFile>

bool logAllgemein(const QString &text)
{
    if (!ensureLogsFolder())
        return false;
    const QString path = logsPath() + QStringLiteral("Allgemein.log");

    QByteArray previous;
    {
        QFile old(path);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly))
                return false;   // rewriting without the older entries would lose them
            previous = old.readAll();
        }
    }

    const QString stamp = appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(codepage::encode(u'[' + stamp + QStringLiteral("] ") + text + QStringLiteral("\r\n")));
    file.write(previous);
    if (!file.commit())
        return false;

    fillLogList();
    return true;
}
