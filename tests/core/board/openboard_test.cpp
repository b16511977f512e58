#include "core/board/openboard.h"

#include "core/board/formularfile.h"
#include "support/stationfiles.h"

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

TEST_F(OpenBoardFiles, NoDropsANeverSavedBoardWithItsSlotAndLabels)
{
    ASSERT_EQ(board.createBoard(800, 600), 3);
    EXPECT_EQ(formulare().at(3).name, QStringLiteral("Formular3"));
    board.setAddressPosition(7, 0, 200);
    board.markChanged();
    EXPECT_EQ(getFreeBoardAddress(), 3);

    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(board.askToSave(Prompts::Icon::Question));
    EXPECT_EQ(box(), QStringLiteral("Speichern|Formular speichern?"));
    EXPECT_FALSE(isIndexUsed(3, formulare().index()));
    EXPECT_EQ(findFormularOfAddress(7), -1);
    EXPECT_FALSE(board.isChanged());
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(file(), kStored);
}

TEST_F(OpenBoardFiles, UnsavedEditsReachTheFileOnlyThroughTheBoardsOwnSave)
{
    board.opened(1);
    board.setAddressPosition(1, 99, 98);
    board.setAddressPosition(3, 1, 2);
    board.record().bild = QStringLiteral("/pläne/eg.png");
    board.markChanged();

    // Another board's properties, and a deleted board, write the table: the
    // open board as it was opened.
    board.setFormularInfo(2, QStringLiteral("Obergeschoss"), QStringLiteral("Nord"));
    QByteArray expected = kStored;
    expected.replace("\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"OG\"", "\"Nord\"\r\n\"\"\r\n#2012-05-03#\r\n\"Obergeschoss\"");
    EXPECT_EQ(file(), expected);
    EXPECT_FALSE(board.deleteFormular(2));
    EXPECT_EQ(file(), kStored.left(kStored.indexOf("\"002")));

    // Its own properties change the stored copy too, not the labels stored.
    board.setFormularInfo(1, QStringLiteral("Erdgeschoss"), QString());
    expected = kStored.left(kStored.indexOf("\"002")).replace("\"EG\"", "\"Erdgeschoss\"");
    EXPECT_EQ(file(), expected);

    // "Nein" restores the copy, with the name it was given since.
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(board.askToSave(Prompts::Icon::None));
    EXPECT_EQ(formulare().at(1).adressen, QStringLiteral("001;10;20|"));
    EXPECT_EQ(formulare().at(1).name, QStringLiteral("Erdgeschoss"));
    EXPECT_TRUE(formulare().at(1).bild.isEmpty());
    ASSERT_TRUE(saveFormulare());
    EXPECT_EQ(file(), expected);
}

TEST_F(OpenBoardFiles, YesWithoutANameCancelsAndSaveAsRenamesInItsSlot)
{
    clock.setLocal(QDateTime(QDate(2012, 5, 3), QTime(0, 0, 0, 600)));  // midnight to the second
    ASSERT_EQ(board.createBoard(800, 600), 3);
    board.setAddressPosition(12, 140, 85);
    board.markChanged();

    prompts.scriptAnswer(Prompts::Answer::Yes);
    EXPECT_FALSE(board.askToSave(Prompts::Icon::Question));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].text, QStringLiteral("Unter welchem Namen soll das Formular gespeichert werden?"));
    EXPECT_TRUE(prompts.shown[1].isInput);
    EXPECT_TRUE(board.isChanged());
    EXPECT_FALSE(board.isNamed());
    EXPECT_EQ(file(), kStored);

    prompts.scriptAnswer(Prompts::Answer::Yes);
    prompts.scriptInput(QStringLiteral("Keller"));
    EXPECT_TRUE(board.askToSave(Prompts::Icon::Question));
    const QByteArray keller = "\"012;140;85|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03#\r\n\"Keller\"\r\n800\r\n600\r\n";
    EXPECT_EQ(file(), kStored + keller);

    prompts.scriptInput(QStringLiteral("Untergeschoss"));
    EXPECT_TRUE(board.saveAs());
    EXPECT_EQ(file(), kStored + QByteArray(keller).replace("Keller", "Untergeschoss"));
    EXPECT_FALSE(board.saveAs());  // no name: nothing happens
    EXPECT_EQ(formulare().at(3).name, QStringLiteral("Untergeschoss"));
}

TEST_F(OpenBoardFiles, NoSlotLeftGivesTheLimitBoxAndKeepsTheOpenBoard)
{
    board.opened(1);
    for (int slot = 3; slot <= kMaxFormulare; ++slot)
        toggleIndexBit(slot, formulare().index());
    EXPECT_EQ(board.createBoard(800, 600), -1);
    EXPECT_EQ(box(), QStringLiteral("Neues Formular|Es können leider nicht mehr als 800 Formulare erstellt werden!"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(board.slot(), 1);
}
