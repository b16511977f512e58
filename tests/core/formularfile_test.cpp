#include "core/datafile.h"
#include "core/formularfile.h"

#include "logentries.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

namespace {

class FormularFile : public ::testing::Test
{
protected:
    FormularFile()
    {
        formulare().clear();
        forgetLoadFailures();
    }
    ~FormularFile() override
    {
        formulare().clear();
        forgetLoadFailures();
    }
    void place(int slot, const FormularRecord &board)
    {
        formulare().at(slot) = board;
        toggleIndexBit(slot, formulare().index());
    }
    QByteArray file() const { return folder.read(QStringLiteral("Formulare.dat")); }

    TempAppFolder folder;
    FakeClock clock;
    RecordingView view;
    ScriptedPrompts prompts;
};

FormularRecord board(const QString &name, const QDateTime &created)
{
    FormularRecord b;
    b.name = name;
    b.geaendertAm = created;
    b.inUse = true;
    b.breite = 800;
    b.hoehe = 600;
    return b;
}

} // namespace

TEST_F(FormularFile, SevenLinesPerBoardAndRenumberedOnLoad)
{
    FormularRecord second = board(QStringLiteral("Erdgeschoß"), QDateTime(QDate(2012, 5, 3), QTime(14, 7)));
    second.adressen = QStringLiteral("012;140;85|S05;-3;12|");
    second.bild = QStringLiteral("C:/Pläne/eg.bmp");
    second.beschreibung = QStringLiteral("Halle \"Nord\"");
    FormularRecord fifth = board(QStringLiteral("Keller"), QDateTime(QDate(2013, 1, 2), QTime(0, 0)));
    fifth.breite = -1;
    FormularRecord notStored = board(QStringLiteral("neu"), QDateTime(QDate(2014, 1, 1), QTime(8, 0)));
    notStored.inUse = false;
    FormularRecord timeOnly = board(QStringLiteral("alt"), QDateTime(QDate(1899, 12, 30), QTime(9, 5, 1)));
    place(2, second);
    place(5, fifth);
    place(6, notStored);
    place(9, timeOnly);
    formulare().at(7) = board(QStringLiteral("ohne Bit"), QDateTime(QDate(2014, 1, 1), QTime(8, 0)));

    ASSERT_TRUE(saveFormulare());
    const QByteArray saved = file();
    EXPECT_EQ(saved, QByteArray("\"012;140;85|S05;-3;12|\"\r\n\"Halle 'Nord'\"\r\n\"C:/Pl\xE4ne/eg.bmp\"\r\n"
                                "#2012-05-03 14:07:00#\r\n\"Erdgescho\xDF\"\r\n800\r\n600\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n#2013-01-02#\r\n\"Keller\"\r\n-1\r\n600\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n#09:05:01#\r\n\"alt\"\r\n800\r\n600\r\n"));

    formulare().clear();
    formulare().at(4).name = QStringLiteral("bleibt");
    ASSERT_TRUE(loadFormulare());
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(isIndexUsed(slot, formulare().index()), slot <= 3) << slot;
    EXPECT_EQ(formulare().at(1).bild, QStringLiteral("C:/Pläne/eg.bmp"));
    EXPECT_EQ(formulare().at(1).geaendertAm, QDateTime(QDate(2012, 5, 3), QTime(14, 7)));
    EXPECT_EQ(formulare().at(3).geaendertAm, QDateTime(QDate(1899, 12, 30), QTime(9, 5, 1)));
    EXPECT_TRUE(formulare().at(2).inUse);
    EXPECT_EQ(formulare().at(4).name, QStringLiteral("bleibt"));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(file(), saved);
}

TEST_F(FormularFile, MissingFileIsAnEmptyTable)
{
    place(1, board(QStringLiteral("a"), QDateTime(QDate(2012, 1, 1), QTime(1, 0))));
    ASSERT_TRUE(loadFormulare());
    EXPECT_EQ(getFreeIndex(formulare().index()), 1);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(FormularFile, DamagedFileKeepsTheCompleteBoards)
{
    const QByteArray good = "\"\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"A\"\r\n1\r\n2\r\n";
    const struct
    {
        QByteArray tail;
        const char *description;
        int number;
    } cases[] = {
        {"\"\"\r\n\"\"\r\n", "Einlesen hinter Dateiende", 62},
        {"\"\"\r\n\"\"\r\n\"\"\r\n#3. Mai#\r\n\"B\"\r\n1\r\n2\r\n", "Typen unverträglich", 13},
        {"\"\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"B\"\r\nbreit\r\n2\r\n", "Typen unverträglich", 13},
        {"\"\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"B\"\r\n99999999999\r\n2\r\n", "Überlauf", 6},
        {"\"a\"b\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"B\"\r\n1\r\n2\r\n", "Typen unverträglich", 13},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        folder.write(QStringLiteral("Formulare.dat"), good + c.tail);
        EXPECT_FALSE(loadFormulare());
        EXPECT_TRUE(isIndexUsed(1, formulare().index()));
        EXPECT_FALSE(isIndexUsed(2, formulare().index())) << c.description;
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown.at(0).text, QStringLiteral("Beim Laden der Formulare ist folgender Fehler aufgetreten:\r\n")
                                                + QString::fromUtf8(c.description));
        EXPECT_EQ(generalLogEntries(folder).last(),
                  QStringLiteral("Fehler beim Laden der Formulare: ") + QString::fromUtf8(c.description));
    }

    // More boards than slots: the first 800 stay.
    folder.write(QStringLiteral("Formulare.dat"), good.repeated(801));
    EXPECT_FALSE(loadFormulare());
    EXPECT_EQ(getFreeIndex(formulare().index()), -1);
    EXPECT_TRUE(prompts.shown.last().text.endsWith(QStringLiteral("Index außerhalb des gültigen Bereichs")));

    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(folder.read(QStringLiteral("Formulare.dat.defekt")), good.repeated(801));
    EXPECT_EQ(file(), good.repeated(800));
}
