// Writes general-log entries on top of logs of 2, 20 and 40 MB and prints what
// one entry costs, and how much the peak memory of the process grew meanwhile:
// an entry must cost little and take no more memory however long the log.
#include "core/logs/generallog.h"
#include "support/tempappfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kEntries = 21;

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A log of about `megabytes` MB of ordinary entries, written in pieces so that
// building it does not raise the peak memory being measured.
void writeOldLog(const QString &path, int megabytes)
{
    const QByteArray entry = "[07.03.2011 09:05:03] Geplanter Task 'Flurlicht aus' wurde ausgef\xFChrt!\r\n";
    QByteArray piece;
    while (piece.size() < 1024 * 1024)
        piece += entry;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (int i = 0; i < megabytes; ++i)
        file.write(piece);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-8s %12s %12s %16s\n", "log", "median", "max", "peak memory +");
    for (const int megabytes : {2, 20, 40}) {
        TempAppFolder folder;
        QDir().mkpath(folder.file(QStringLiteral("logs")));
        writeOldLog(folder.file(QStringLiteral("logs/Allgemein.log")), megabytes);

        const long peakBefore = peakKb();
        QList<double> ms;
        for (int i = 0; i < kEntries; ++i) {
            QElapsedTimer timer;
            timer.start();
            logAllgemein(QStringLiteral("Automatische Statusmeldung erhalten\r\nGeräteadresse: 042"));
            if (!flushGeneralLog())
                std::fprintf(stderr, "entry %d could not be written\n", i);
            ms << double(timer.nsecsElapsed()) / 1e6;
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%5d MB %9.1f ms %9.1f ms %13ld KB\n", megabytes, ms.at(kEntries / 2), ms.last(),
                    peakKb() - peakBefore);
    }
    std::printf("target: under 30 ms for 20 MB, peak memory not growing with the log\n");
    return 0;
}
