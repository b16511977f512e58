// "Units.dat" of any bytes through the loader; whatever it took in is saved
// and loaded again, and must come back as it was. A file that did not load
// whole is kept aside before the save writes over it.
#include "fuzzstation.h"

#include "core/files/datafile.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"

namespace {

bool sameAsBefore(const UnitRegistry &before)
{
    for (int addr = 1; addr <= 2000; ++addr) {
        const UnitRecord &a = before.at(addr);
        const UnitRecord &b = units().at(addr);
        if (a.exists != b.exists || a.state != b.state || a.frame != b.frame
            || a.description != b.description || a.errorText != b.errorText)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation &station = FuzzStation::get();
    station.freshFolder();
    forgetLoadFailures();
    units().clear();
    // A state no file can load: still there afterwards, nothing was taken in,
    // and the round trip of an empty registry needs no second look.
    units().at(1).state = -1;
    const QByteArray input = fuzzBytes(data, size);
    station.write(QStringLiteral("Units.dat"), input);

    const bool whole = loadUnits(false);
    if (units().at(1).state == -1) {
        fuzzCheck(!whole || size == 0, "a file that loads whole fills the registry");
        return 0;
    }
    const UnitRegistry first = units();

    fuzzCheck(saveUnits(false), "the registry can be saved");
    if (!whole)
        fuzzCheck(station.read(QStringLiteral("Units.dat.defekt")) == input,
                  "a file that did not load whole is kept aside unchanged");

    units().clear();
    fuzzCheck(loadUnits(false), "a saved file loads whole");
    fuzzCheck(sameAsBefore(first), "the registry comes back as it was saved");
    return 0;
}
