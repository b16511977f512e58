// Floor-plan boards: label lists, the free board address, "Formulare.dat", and the open board's saves.
#include "core/board/formularfile.h"
#include "core/board/labellist.h"
#include "core/board/openboard.h"
#include "support/stationfiles.h"

namespace {

void place(int slot, const FormularRecord &b)
{
    formulare().at(slot) = b;
    toggleIndexBit(slot, formulare().index());
}

} // namespace

using Boards = StationFiles;

TEST(LabelList, EntriesAreReadEditedInPlaceAndPlanned)
{
    const QString stored = QStringLiteral("012;140;85|S05;-3;x|007;1;2");  // the last entry lacks its "|": no label
    EXPECT_EQ(labelEntries(stored), (QStringList{"012;140;85", "S05;-3;x"}));
    EXPECT_EQ(labelCount(stored), 2);
    const LabelEntry s05 = parseLabelEntry(QStringLiteral("S05;-3;x"));
    EXPECT_EQ(std::tuple(s05.text, s05.x, s05.y), std::tuple(QStringLiteral("S05"), -3, 0));
    // A label placed on such a list is not run into the unfinished entry.
    EXPECT_EQ(withLabelPosition(stored, 9, 5, 6), QStringLiteral("012;140;85|S05;-3;x|009;5;6|"));
    QString list;
    const struct { bool place; int address, x, y; const char *expected; } steps[] = {
        {true, 12, 140, 85, "012;140;85|"}, {true, 1005, 300, 12, "012;140;85|S05;300;12|"},
        {true, 12, 141, -4, "012;141;-4|S05;300;12|"}, {false, 12, 0, 0, "S05;300;12|"}, {false, 99, 0, 0, "S05;300;12|"},
    };
    for (const auto &step : steps) {
        list = step.place ? withLabelPosition(list, step.address, step.x, step.y) : withoutLabel(list, step.address);
        EXPECT_EQ(list, QString::fromLatin1(step.expected));
    }
    // Opening skips what is no board address and what repeats.
    const LabelPlan plan = planLabels(QStringLiteral("012;1;2|X01;0;0|S00;0;0|12;0;0|1500;0;0|S99;5;6|012;9;9|001;3;4|"));
    QList<int> placed;
    for (const auto &[address, entry] : plan.placed)
        placed << address;
    EXPECT_EQ(placed, (QList<int>{12, 1099, 1}));
    EXPECT_EQ(plan.notAddresses, (QStringList{"X01", "S00", "12", "1500"}));
    EXPECT_EQ(plan.repeated, QStringList{"012"});
}

TEST_F(Boards, TheFreeAddressSkipsEveryBoardAndEndsAtS99)
{
    const auto labels = [](int from, int to) {
        QString all;
        for (int address = from; address <= to; ++address)
            all = withLabelPosition(all, address, 0, 0);
        return all;
    };
    const auto onBoard = [](int slot, const QString &list, bool inUse = true) {
        place(slot, {{}, {}, {}, {}, inUse, list, 0, 0});
    };
    EXPECT_EQ(getFreeBoardAddress(), 1);
    onBoard(2, QStringLiteral("001;0;0|"));
    onBoard(3, QStringLiteral("002;0;0|"), false);  // created, never stored: its labels count
    formulare().at(4).adressen = QStringLiteral("003;0;0|");  // no bit: no board in this run
    EXPECT_EQ(std::tuple(getFreeBoardAddress(), findFormularOfAddress(2), findFormularOfAddress(3)), std::tuple(3, 3, -1));
    onBoard(5, labels(1, 999));
    EXPECT_EQ(std::pair(getFreeBoardAddress(), findFormularOfAddress(1)), std::pair(1001, 2));
    onBoard(6, labels(1001, 1098));
    EXPECT_EQ(getFreeBoardAddress(), 1099);
    formulare().at(6).adressen += QStringLiteral("S99;0;0|");
    EXPECT_EQ(getFreeBoardAddress(), -1);
}

TEST_F(Boards, SevenLinesPerBoardAndRenumberedOnLoad)
{
    const auto at = [](int y, int mo, int d, QTime t) { return QDateTime(QDate(y, mo, d), t); };
    place(2, {"Erdgeschoß", "Halle \"Nord\"", at(2012, 5, 3, QTime(14, 7)), "C:/Pläne/eg.bmp", true, "012;140;85|S05;-3;12|", 800, 600});
    place(5, {"Keller", {}, at(2013, 1, 2, QTime(0, 0)), {}, true, {}, 800, 600});
    place(6, {"nie gespeichert", {}, at(2014, 1, 1, QTime(8, 0)), {}, false, {}, 800, 600});
    place(9, {"alt", {}, at(1899, 12, 30, QTime(9, 5, 1)), {}, true, {}, 800, 600});
    formulare().at(7) = {"ohne Bit", {}, at(2014, 1, 1, QTime(8, 0)), {}, true, {}, 800, 600};
    ASSERT_TRUE(saveFormulare());
    const QByteArray saved = read("Formulare.dat");
    EXPECT_EQ(saved, QByteArray("\"012;140;85|S05;-3;12|\"\r\n\"Halle 'Nord'\"\r\n\"C:/Pl\xE4ne/eg.bmp\"\r\n#2012-05-03 14:07:00#\r\n"
                                "\"Erdgescho\xDF\"\r\n800\r\n600\r\n\"\"\r\n\"\"\r\n\"\"\r\n#2013-01-02#\r\n\"Keller\"\r\n800\r\n600\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n#09:05:01#\r\n\"alt\"\r\n800\r\n600\r\n"));
    formulare().clear();
    formulare().at(4).name = QStringLiteral("bleibt");
    ASSERT_TRUE(loadFormulare());
    EXPECT_EQ(formulare().index().left(1), QByteArray("\x07"));  // slots 1 to 3
    EXPECT_EQ(formulare().at(1).bild + formulare().at(4).name, QStringLiteral("C:/Pläne/eg.bmpbleibt"));
    EXPECT_EQ(formulare().at(3).geaendertAm, QDateTime(QDate(1899, 12, 30), QTime(9, 5, 1)));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(read("Formulare.dat"), saved);
}

TEST_F(Boards, DamagedFileKeepsTheCompleteBoards)
{
    ASSERT_TRUE(loadFormulare());  // a missing file is an empty table
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
        const QString reason = QString::fromUtf8(c.reason);
        EXPECT_EQ(prompts.shown.last().text, "Beim Laden der Formulare ist folgender Fehler aufgetreten:\r\n" + reason);
        EXPECT_EQ(log().last(), "Fehler beim Laden der Formulare: " + reason);
    }
    // More boards than slots: the first 800 stay, and the file is kept before it is replaced.
    write("Formulare.dat", good.repeated(801));
    EXPECT_FALSE(loadFormulare());
    EXPECT_EQ(std::pair(getFreeIndex(formulare().index()), prompts.shown.last().title), std::pair(-1, QStringLiteral("Nuvax")));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(read("Formulare.dat.defekt"), good.repeated(801));
    EXPECT_EQ(read("Formulare.dat"), good.repeated(800));
}

namespace {

class OpenBoardFiles : public StationFiles
{
protected:
    OpenBoardFiles()
    {
        clock.setLocal(QDateTime(QDate(2012, 5, 3), QTime(14, 7)));
        write("Formulare.dat", kStored);
        EXPECT_TRUE(loadFormulare());
    }
    QByteArray file() const { return read("Formulare.dat"); }

    // Two stored boards: slots 1 and 2 after the load.
    static inline const QByteArray kStored = "\"001;10;20|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"EG\"\r\n800\r\n600\r\n"
                                             "\"002;5;5|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"OG\"\r\n800\r\n600\r\n";
    OpenBoard board;
};

} // namespace

TEST_F(OpenBoardFiles, NoDropsANeverSavedBoardAndTheLimitKeepsTheOpenOne)
{
    ASSERT_EQ(board.createBoard(800, 600), 3);
    EXPECT_EQ(formulare().at(3).name, QStringLiteral("Formular3"));
    board.setAddressPosition(7, 0, 200);
    board.markChanged();
    EXPECT_EQ(getFreeBoardAddress(), 3);
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(board.askToSave(Prompts::Icon::Question));
    EXPECT_EQ(box(), QStringLiteral("Speichern|Formular speichern?"));
    EXPECT_EQ(std::tuple(isIndexUsed(3, formulare().index()), findFormularOfAddress(7), board.isChanged()), std::tuple(false, -1, false));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(file(), kStored);

    prompts.shown.clear();
    board.opened(1);
    for (int slot = 3; slot <= kMaxFormulare; ++slot)
        toggleIndexBit(slot, formulare().index());
    EXPECT_EQ(board.createBoard(800, 600), -1);
    EXPECT_EQ(box(), QStringLiteral("Neues Formular|Es können leider nicht mehr als 800 Formulare erstellt werden!"));
    EXPECT_EQ(std::pair(prompts.shown[0].icon, board.slot()), std::pair(Prompts::Icon::Critical, 1));
}

TEST_F(OpenBoardFiles, UnsavedEditsReachTheFileOnlyThroughTheBoardsOwnSave)
{
    board.opened(1);
    board.setAddressPosition(1, 99, 98);
    board.setAddressPosition(3, 1, 2);
    board.record().bild = QStringLiteral("/pläne/eg.png");
    board.markChanged();
    // Its properties write the table (those of another board: tests/ui/board), not the labels unsaved.
    board.setFormularInfo(1, QStringLiteral("Erdgeschoss"), QString());
    const QByteArray expected = QByteArray(kStored).replace("\"EG\"", "\"Erdgeschoss\"");
    EXPECT_EQ(file(), expected);
    // "Nein" restores the copy, with the name it was given since.
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(board.askToSave(Prompts::Icon::None));
    EXPECT_EQ(formulare().at(1).adressen + formulare().at(1).name + formulare().at(1).bild, QStringLiteral("001;10;20|Erdgeschoss"));
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(file(), expected);
}

// "Ja" asks for the name first (no name: tests/ui/board); a board made at midnight is stored as a date alone.
TEST_F(OpenBoardFiles, YesAsksTheNameAndSaveAsRenamesInItsSlot)
{
    clock.setLocal(QDateTime(QDate(2012, 5, 3), QTime(0, 0, 0, 600)));
    ASSERT_EQ(board.createBoard(800, 600), 3);
    board.setAddressPosition(12, 140, 85);
    board.markChanged();
    prompts.scriptAnswer(Prompts::Answer::Yes);
    prompts.scriptInput(QStringLiteral("Keller"));
    EXPECT_TRUE(board.askToSave(Prompts::Icon::Question));
    EXPECT_EQ(prompts.shown.value(1).text, QStringLiteral("Unter welchem Namen soll das Formular gespeichert werden?"));
    const QByteArray keller = "\"012;140;85|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"Keller\"\r\n800\r\n600\r\n";
    EXPECT_EQ(file(), kStored + keller);
    prompts.scriptInput(QStringLiteral("Untergeschoss"));
    EXPECT_TRUE(board.saveAs());
    EXPECT_EQ(file(), kStored + QByteArray(keller).replace("Keller", "Untergeschoss"));
    EXPECT_FALSE(board.saveAs());  // no name: nothing happens
    EXPECT_EQ(formulare().at(3).name, QStringLiteral("Untergeschoss"));
}
