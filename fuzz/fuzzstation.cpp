#include "fuzzstation.h"

#include "core/logs/generallog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

FuzzStation &FuzzStation::get()
{
    static int argc = 1;
    static char name[] = "nuvax-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // No port of this machine is ever opened by a fuzz input.
    for (int n = 1; n <= 10; ++n)
        qputenv(QStringLiteral("NUVAX_COM%1").arg(n).toLatin1(), "/nonexistent/nuvax-fuzz-port");
    // Every save syncs its file to the disk; in memory that costs nothing, and
    // the fuzzer runs many thousand saves a second.
    if (QDir(QStringLiteral("/dev/shm")).exists())
        qputenv("TMPDIR", "/dev/shm");
    static FuzzStation station;
    return station;
}

void FuzzStation::freshFolder()
{
    // The earlier input's entries still waiting for their moment go with its folder.
    flushGeneralLog();
    QDir dir(folder.path());
    dir.removeRecursively();
    dir.mkpath(QStringLiteral("."));
}

void FuzzStation::write(const QString &fileName, const QByteArray &bytes)
{
    QFile file(folder.file(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzCheck(false, "the fuzz input can be written to the program folder");
}

QByteArray FuzzStation::read(const QString &fileName) const
{
    QFile file(folder.file(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fuzzCheck(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n", what);
    std::abort();
}
