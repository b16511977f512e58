// Adds 1,000, 10,000 and 100,000 alerts of a typical description to the shown
// alert window and prints how much resident memory each alert took and how
// long adding one took, on average and among the last ones: a fortnight of a
// chattering contact must fit in memory, and the hundred-thousandth alert must
// be added as quickly as the tenth. Each size runs in a process of its own, so
// memory freed by a smaller run cannot hide the cost of a larger one. The
// count starts once the window has filled its first screens, as the first
// alerts also bring in the scroll bar and the glyphs, once for the window's life.
#include "ui/forms/frmmeldung.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kSettle = 100;
constexpr int kLast = 100;

// About 200 characters, as a contact's alert of a described unit reads.
QString alertText(int i)
{
    return QStringLiteral("Geräteadresse: %1\r\nGerätetyp: QOR-TD\r\n"
                          "Gerätebeschreibung: Flur Süd, 2. OG, Treppenhaus Nord, neben Aufzug 2\r\n"
                          "Kontakt 1: FEHLER\r\nKontakt 1 (Beschreibung): Brandmeldezentrale Halle 3, Linie %2\r\n")
        .arg(i % 3 * 21 + 1, 3, 10, QChar(u'0'))
        .arg(i);
}

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// An alert as the station adds it: the events it raises (layout, painting)
// run before the next one comes.
double addAlertMs(int i)
{
    QElapsedTimer timer;
    timer.start();
    FrmMeldung::addAlert(alertText(i));
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

int measure(int argc, char **argv, int alerts)
{
    // Without a window system every raise is reported; the figures would drown.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    for (int i = 0; i < kSettle; ++i)
        addAlertMs(i);
    const long before = residentKb();
    double totalMs = 0;
    double lastMs = 0;
    for (int i = kSettle; i < kSettle + alerts; ++i) {
        const double ms = addAlertMs(i);
        totalMs += ms;
        if (i >= kSettle + alerts - kLast)
            lastMs += ms;
    }
    const double bytesPerAlert = double(residentKb() - before) * 1024.0 / alerts;
    std::printf("%8d %12.0f B %12.3f ms %12.3f ms\n", alerts, bytesPerAlert, totalMs / alerts, lastMs / kLast);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("alert text: %lld characters; counted after the first %d alerts\n",
                static_cast<long long>(alertText(1).size()), kSettle);
    std::printf("%8s %14s %15s %15s\n", "alerts", "memory/alert", "time/alert", "last 100");
    std::fflush(stdout);
    for (const int alerts : {1000, 10000, 100000}) {
        const pid_t child = fork();
        if (child == 0)
            return measure(argc, argv, alerts);
        if (child < 0) {
            std::perror("fork");
            return 1;
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    std::printf("target: at most 1536 B per alert; the last ones as quick as the first\n");
    return 0;
}
