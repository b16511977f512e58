#include "core/board/formularfile.h"

#include "support/stationfiles.h"

namespace {

FormularRecord board(const QString &name, const QDateTime &created, bool inUse = true)
{
    FormularRecord b;
    b.name = name;
    b.geaendertAm = created;
    b.inUse = inUse;
    b.breite = 800;
    b.hoehe = 600;
    return b;
}

void place(int slot, const FormularRecord &b)
{
    formulare().at(slot) = b;
    toggleIndexBit(slot, formulare().index());
}

} // namespace

using FormularFile = StationFiles;

TEST_F(FormularFile, SevenLinesPerBoardAndRenumberedOnLoad)
{
    FormularRecord second = board(QStringLiteral("Erdgeschoß"), QDateTime(QDate(2012, 5, 3), QTime(14, 7)));
    second.adressen = QStringLiteral("012;140;85|S05;-3;12|");
    second.bild = QStringLiteral("C:/Pläne/eg.bmp");
    second.beschreibung = QStringLiteral("Halle \"Nord\"");
    place(2, second);
    place(5, board(QStringLiteral("Keller"), QDateTime(QDate(2013, 1, 2), QTime(0, 0))));
    place(6, board(QStringLiteral("nie gespeichert"), QDateTime(QDate(2014, 1, 1), QTime(8, 0)), false));
    place(9, board(QStringLiteral("alt"), QDateTime(QDate(1899, 12, 30), QTime(9, 5, 1))));
    formulare().at(7) = board(QStringLiteral("ohne Bit"), QDateTime(QDate(2014, 1, 1), QTime(8, 0)));

    ASSERT_TRUE(saveFormulare());
    const QByteArray saved = read("Formulare.dat");
    EXPECT_EQ(saved, QByteArray("\"012;140;85|S05;-3;12|\"\r\n\"Halle 'Nord'\"\r\n\"C:/Pl\xE4ne/eg.bmp\"\r\n"
                                "#2012-05-03 14:07:00#\r\n\"Erdgescho\xDF\"\r\n800\r\n600\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n#2013-01-02#\r\n\"Keller\"\r\n800\r\n600\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n#09:05:01#\r\n\"alt\"\r\n800\r\n600\r\n"));

    formulare().clear();
    formulare().at(4).name = QStringLiteral("bleibt");
    ASSERT_TRUE(loadFormulare());
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(isIndexUsed(slot, formulare().index()), slot <= 3) << slot;
    EXPECT_EQ(formulare().at(1).bild, QStringLiteral("C:/Pläne/eg.bmp"));
    EXPECT_EQ(formulare().at(3).geaendertAm, QDateTime(QDate(1899, 12, 30), QTime(9, 5, 1)));
    EXPECT_EQ(formulare().at(4).name, QStringLiteral("bleibt"));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(read("Formulare.dat"), saved);
}

TEST_F(FormularFile, DamagedFileKeepsTheCompleteBoards)
{
    ASSERT_TRUE(loadFormulare());   // a missing file is an empty table
    const QByteArray good = "\"\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"A\"\r\n1\r\n2\r\n";
    const struct { QByteArray tail; const char *reason; } cases[] = {
        {"\"\"\r\n\"\"\r\n", "Einlesen hinter Dateiende"},
        {"\"\"\r\n\"\"\r\n\"\"\r\n#3. Mai#\r\n\"B\"\r\n1\r\n2\r\n", "Typen unverträglich"},
        {"\"\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"B\"\r\n99999999999\r\n2\r\n", "Überlauf"},
        {"\"a\"b\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"B\"\r\n1\r\n2\r\n", "Typen unverträglich"},
    };
    for (const auto &c : cases) {
        write("Formulare.dat", good + c.tail);
        EXPECT_FALSE(loadFormulare());
        EXPECT_EQ(getFreeIndex(formulare().index()), 2) << c.reason;
        EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Beim Laden der Formulare ist folgender Fehler aufgetreten:\r\n")
                                                 + QString::fromUtf8(c.reason));
        EXPECT_EQ(log().last(), QStringLiteral("Fehler beim Laden der Formulare: ") + QString::fromUtf8(c.reason));
    }

    // More boards than slots: the first 800 stay, and the file is kept before it is replaced.
    write("Formulare.dat", good.repeated(801));
    EXPECT_FALSE(loadFormulare());
    EXPECT_EQ(getFreeIndex(formulare().index()), -1);
    EXPECT_EQ(prompts.shown.last().title, QStringLiteral("Nuvax"));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(read("Formulare.dat.defekt"), good.repeated(801));
    EXPECT_EQ(read("Formulare.dat"), good.repeated(800));
}
