// "Formulare.dat" of any bytes through the loader; the boards it took in are
// saved and loaded again and must come back as they were, and saving them once
// more writes the same bytes.
#include "fuzzstation.h"

#include "core/board/formularfile.h"
#include "core/files/datafile.h"

#include <QList>

namespace {

// The boards that a save writes, in slot order.
QList<FormularRecord> storedBoards()
{
    QList<FormularRecord> list;
    for (int slot = 1; slot <= kMaxFormulare; ++slot) {
        if (isIndexUsed(slot, formulare().index()) && formulare().at(slot).inUse)
            list.append(formulare().at(slot));
    }
    return list;
}

bool same(const FormularRecord &a, const FormularRecord &b)
{
    return a.name == b.name && a.beschreibung == b.beschreibung && a.geaendertAm == b.geaendertAm
           && a.geaendertAm.isValid() == b.geaendertAm.isValid() && a.bild == b.bild
           && a.adressen == b.adressen && a.breite == b.breite && a.hoehe == b.hoehe;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation &station = FuzzStation::get();
    station.freshFolder();
    forgetLoadFailures();
    formulare().clear();
    const QByteArray input = fuzzBytes(data, size);
    station.write(QStringLiteral("Formulare.dat"), input);

    const bool whole = loadFormulare();
    const QList<FormularRecord> first = storedBoards();
    fuzzCheck(saveFormulare(), "the boards can be saved");
    if (!whole)
        fuzzCheck(station.read(QStringLiteral("Formulare.dat.defekt")) == input,
                  "a file that did not load whole is kept aside unchanged");
    const QByteArray saved = station.read(QStringLiteral("Formulare.dat"));

    formulare().clear();
    fuzzCheck(loadFormulare(), "a saved file loads whole");
    const QList<FormularRecord> second = storedBoards();
    fuzzCheck(first.size() == second.size(), "every board comes back");
    for (qsizetype i = 0; i < first.size(); ++i)
        fuzzCheck(same(first[i], second[i]), "a board comes back as it was saved");
    fuzzCheck(saveFormulare() && station.read(QStringLiteral("Formulare.dat")) == saved,
              "saving again writes the same bytes");
    return 0;
}
