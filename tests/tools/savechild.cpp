// A station that saves its data files and writes its general log over and over
// until it is killed. The crash-safety test kills it at chosen moments and reads
// what it left in the program folder (NUVAX_HOME).
//   savechild once <0|1>   saves every file once with the given content
//   savechild loop         saves the contents 1, 0, 1, ... until killed
// Around each save it writes "<X t" and ">X t" to standard output (X: U units,
// T tasks, F boards, L general log; t microseconds since start), unbuffered, so
// the killer knows which save it interrupted.
#include "core/board/formularfile.h"
#include "core/files/tasksfile.h"
#include "core/logs/generallog.h"
#include "core/platform/oledate.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

QElapsedTimer sinceStart;

void mark(char edge, char file)
{
    char line[48];
    const int n = std::snprintf(line, sizeof line, "%c%c %lld\n", edge, file,
                                static_cast<long long>(sinceStart.nsecsElapsed() / 1000));
    [[maybe_unused]] const auto written = ::write(STDOUT_FILENO, line, static_cast<size_t>(n));
}

void fillUnits(int v)
{
    units().clear();
    for (int addr = 1; addr <= 2000; addr += 3) {
        addUnit(addr, QStringLiteral("%1S00403019").arg(addr % 1000, 3, 10, QChar(u'0')));
        UnitRecord &u = units().at(addr);
        u.description = fixedWidth(QStringLiteral("Notleuchte Treppenhaus Süd %1, Fassung %2").arg(addr).arg(v),
                                   kDescriptionWidth);
        u.errorText = fixedWidth(v ? QStringLiteral("\tFEHLER: Leuchtmittelfehler\r\n\tFEHLER: Ladefehler\r\n")
                                   : QString(),
                                 kErrorTextWidth);
        u.state = (addr + v) % 3;
    }
}

void fillTasks(int v)
{
    tasks().clear();
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        TaskRecord &t = tasks().at(slot);
        t.belegt = true;
        t.aktiv = (slot + v) % 2;
        t.beschreibung = QStringLiteral("Dauerlicht Halle %1 (Fassung %2)").arg(slot).arg(v);
        t.uhrzeit = QDateTime(QDate(2012, 5, 3), QTime(slot % 24, v * 30));
        t.wochentage[static_cast<size_t>((slot + v) % 7)] = true;
        t.monate[static_cast<size_t>((slot * 5 + v) % 12)] = true;
        t.aktion = static_cast<qint16>(v);
        t.gruppen[static_cast<size_t>((slot + v) % 100)] = true;
        for (size_t a = static_cast<size_t>(v); a < 1000; a += 7)
            t.adressen[a] = true;
        t.sperreBis = oledate::fromDateTime(QDateTime(QDate(2012, 5, 3 + v), QTime(8, 0)));
        t.taskId = QStringLiteral("T%1-%2").arg(slot).arg(v);
    }
}

void fillFormulare(int v)
{
    formulare().clear();
    for (int slot = 1; slot <= kMaxFormulare; ++slot) {
        toggleIndexBit(slot, formulare().index());
        FormularRecord &f = formulare().at(slot);
        f.inUse = true;
        f.name = QStringLiteral("Geschoss %1 Fassung %2").arg(slot).arg(v);
        f.beschreibung = QStringLiteral("Fluchtwege Bauteil %1").arg(slot % 7);
        f.geaendertAm = QDateTime(QDate(2012, 5, 3), QTime(14, 7, v));
        f.bild = QStringLiteral("C:\\Pläne\\geschoss%1.bmp").arg(slot);
        for (int label = 0; label < 40; ++label)
            f.adressen += QStringLiteral("%1;%2;%3|").arg((slot + label) % 1000, 3, 10, QChar(u'0'))
                              .arg(label * 10 + v).arg(slot % 500);
        f.breite = 1024 + v;
        f.hoehe = 768;
    }
}

void saveAll(int v, int round)
{
    fillUnits(v);
    fillTasks(v);
    fillFormulare(v);
    const std::pair<char, std::function<void()>> saves[] = {
        {'U', [] { saveUnits(false); }},
        {'T', [] { saveTasks(false); }},
        {'F', [] { saveFormulare(); }},
        {'L', [round] { logAllgemein(QStringLiteral("Sicherung %1").arg(round)), flushGeneralLog(); }},
    };
    for (const auto &[file, save] : saves) {
        mark('<', file);
        save();
        mark('>', file);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    sinceStart.start();
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == u"once" && argc > 2) {
        saveAll(QString::fromLocal8Bit(argv[2]).toInt(), 1);
        return 0;
    }
    if (mode == u"loop") {
        for (int round = 1;; ++round)
            saveAll(round % 2, round);
    }
    std::fprintf(stderr, "usage: savechild once 0|1 | savechild loop\n");
    return 2;
}
