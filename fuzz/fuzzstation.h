#pragma once
// The station every fuzz target runs against, built once for the whole run:
// a program folder of its own, a clock that moves only when told, waits that
// only move that clock, and prompts that answer every box with Ok.
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/tempappfolder.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

class FuzzStation
{
public:
    static FuzzStation &get();

    // Empties the program folder, so no file of an earlier input is seen and
    // the general log does not grow from input to input.
    void freshFolder();
    void write(const QString &fileName, const QByteArray &bytes);
    QByteArray read(const QString &fileName) const;

    FakeClock clock;
    FakeWaits waits{clock};
    TempAppFolder folder;

private:
    FuzzStation() = default;
};

// The fuzzer's bytes without a copy.
inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// Stops the run with a report when a property the station promises does not hold.
void fuzzCheck(bool holds, const char *what);
