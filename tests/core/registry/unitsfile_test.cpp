// "Units.dat" byte for byte, and what a damaged one leaves in the registry and beside the file.
#include "core/registry/unitsfile.h"
#include "support/stationfiles.h"

namespace {
// A record never assigned since the program started: state 0, not registered, NUL texts.
const QByteArray kEmptyRecord = "0\r\n#FALSE#\r\n\"" + QByteArray(1200, '\0') + "\"\r\n\"" + QByteArray(12, '\0')
                              + "\"\r\n\"" + QByteArray(1024, '\0') + "\"\r\n";
const QString kRescued = QStringLiteral("Die Datei 'Units.dat' konnte beim Laden nicht vollständig gelesen werden und "
                                        "wurde vor dem Speichern als 'Units.dat.defekt%1' gesichert");
} // namespace

using UnitsFile = StationFiles;

TEST_F(UnitsFile, GoldenBytesAndAnIdenticalReload)
{
    addUnit(7, QStringLiteral("007S00403060"));
    units().at(7).description = fixedWidth(QStringLiteral("Flur Süd\r\nTreppe"), kDescriptionWidth);
    units().at(7).errorText = fixedWidth(QStringLiteral("Akku\r\nLampe\r\nLader"), kErrorTextWidth);
    units().at(7).state = kStateFault;
    addUnit(1005, QStringLiteral("S05S01000070"));
    units().at(1005).state = kStateOk;
    ASSERT_TRUE(saveUnits(false));
    const QByteArray saved = read("Units.dat");
    const QByteArray unit7 = "1\r\n#TRUE#\r\n\"Flur S\xFC" "d\r\nTreppe" + QByteArray(1184, ' ')
                           + "\"\r\n\"007S00403060\"\r\n\"Akku\r\nLampe\r\nLader" + QByteArray(1006, ' ') + "\"\r\n";
    // Registering keeps a description that was never assigned: NUL bytes.
    const QByteArray unit1005 = "2\r\n#TRUE#\r\n\"" + QByteArray(1200, '\0') + "\"\r\n\"S05S01000070\"\r\n\"" + QByteArray(1024, ' ') + "\"\r\n";
    EXPECT_EQ(saved, kEmptyRecord.repeated(6) + unit7 + kEmptyRecord.repeated(997) + unit1005 + kEmptyRecord.repeated(995));

    units().clear();
    ASSERT_TRUE(loadUnits(true));
    EXPECT_EQ(view.unitRows.size(), 2);
    EXPECT_EQ(getUnitErrorText(7), QStringLiteral("Akku\r\nLampe\r\nLader\r\n"));
    ASSERT_TRUE(saveUnits(false));
    EXPECT_TRUE(read("Units.dat") == saved);
}

TEST_F(UnitsFile, MissingFileKeepsTheRegistryAndOddStatesLoadAsUnknown)
{
    addUnit(3, QStringLiteral("003S00203060"));
    EXPECT_TRUE(loadUnits(true));
    EXPECT_TRUE(unitExists(3));
    write("Units.dat", QByteArray(kEmptyRecord).replace(0, 1, " 7") + kEmptyRecord.repeated(1999));
    units().at(1).state = kStateOk;
    ASSERT_TRUE(loadUnits(false));
    EXPECT_EQ(std::pair(units().at(1).state, unitExists(3)), std::pair(kStateUnknown, false));
    EXPECT_TRUE(prompts.shown.isEmpty() && log().isEmpty());
}

TEST_F(UnitsFile, CutFileKeepsWhatWasReadAndIsKeptAsideBeforeTheNextSave)
{
    addUnit(5, QStringLiteral("005S00203060"));
    ASSERT_TRUE(saveUnits(false));
    const QByteArray cut = read("Units.dat").left(1000 * kEmptyRecord.size() + 40);
    write("Units.dat", cut);
    units().clear();
    addUnit(1500, QStringLiteral("S00S00203060"));
    EXPECT_FALSE(loadUnits(true));
    EXPECT_TRUE(unitExists(5) && unitExists(1500));
    EXPECT_EQ(view.unitListFills, 0);
    EXPECT_EQ(box(), QStringLiteral("Fehler: 62|Beim Laden der Geräteliste ist folgender fehler aufgetreten:\r\nEinlesen hinter Dateiende"));
    EXPECT_EQ(prompts.shown.at(0).icon, Prompts::Icon::Critical);
    ASSERT_TRUE(saveUnits(false));
    EXPECT_EQ(read("Units.dat.defekt"), cut);
    EXPECT_EQ(read("Units.dat").size(), 2000 * kEmptyRecord.size() - 2);
    EXPECT_EQ(log(), (QStringList{"Fehler beim Laden der Geräteliste: Einlesen hinter Dateiende", kRescued.arg("")}));

    // Only the save after the failed load keeps a copy; the copy of a second one takes the next free name.
    write("Units.dat.defekt", "alt");
    write("Units.dat.defekt2", "älter");
    ASSERT_TRUE(saveUnits(false));
    write("Units.dat", cut.left(500));
    EXPECT_FALSE(loadUnits(false));
    ASSERT_TRUE(saveUnits(false));
    EXPECT_EQ(read("Units.dat.defekt") + '|' + read("Units.dat.defekt2"), QByteArray("alt|älter"));
    EXPECT_EQ(read("Units.dat.defekt3"), cut.left(500));
    EXPECT_EQ(log().last(), kRescued.arg(3));
}

TEST_F(UnitsFile, QuoteInsideATextBreaksTheLoadWithAMessage)
{
    // A description with a line break and a double quote, as an older program could write it.
    const QByteArray record = "1\r\n#TRUE#\r\n\"Halle \"A\"\r\nTor" + QByteArray(1187, ' ') + "\"\r\n\"002S00203060\"\r\n\""
                            + QByteArray(1024, ' ') + "\"\r\n";
    write("Units.dat", kEmptyRecord + record + kEmptyRecord.repeated(1998));
    units().at(1).state = kStateOk;
    EXPECT_FALSE(loadUnits(false));
    // Nothing of the broken record is taken: its rest would be lost at the next save.
    EXPECT_EQ(std::pair(units().at(1).state, units().at(2).exists), std::pair(kStateUnknown, false));
    EXPECT_EQ(prompts.shown.value(0).title, QStringLiteral("Fehler: 13"));
    EXPECT_EQ(log(), QStringList{QStringLiteral("Fehler beim Laden der Geräteliste: Typen unverträglich")});
}
