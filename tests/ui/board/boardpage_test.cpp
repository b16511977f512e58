#include "ui/board/boardpage.h"

#include "core/board/formularfile.h"
#include "core/board/labellist.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardlabel.h"
#include "ui/board/boardpicture.h"
#include "ui/forms/frmformularverwaltung.h"
#include "ui/stationpictures.h"
#include "ui/uitest.h"

namespace {

const QByteArray kTwoBoards = "\"001;10;20|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"EG\"\r\n800\r\n600\r\n"
                              "\"002;5;5|\"\r\n\"Nord\"\r\n\"\"\r\n#2012-12-03 09:05:00#\r\n\"OG\"\r\n800\r\n600\r\n";

QByteArray boardRecord(const char *labels, const char *name)
{
    return QByteArray("\"") + labels + "\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"" + name + "\"\r\n800\r\n600\r\n";
}

struct BoardTest : WindowUiTest<>
{
    void start()
    {
        window.load();
        window.resize(900, 700);
        window.show();
        window.showPage(3);
        QApplication::processEvents();
    }
    QByteArray file() const { return folder.read(QStringLiteral("Formulare.dat")); }
    BoardPage &page() { return *window.boardPage(); }
    BoardPicture *picture() { return page().picture(); }
    BoardLabel *label(int address) { return picture()->label(address); }
    void menu(const char *name) { child<QAction>(page().commands().formularMenu(), name)->trigger(); }
    QColor color(int address) { return label(address)->palette().color(QPalette::Window); }

    FakeClock clock{QDateTime(QDate(2012, 5, 3), QTime(14, 7))};
};

} // namespace

// An address found on the open, never-saved board that "Nein" drops leaves a new board in its place.
TEST_F(BoardTest, PlacingMovingAndDeletingLabelsRewritesTheirEntries)
{
    start();
    page().addAddressLabel(4, 10, 10);
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(window.showAddressOnBoard(4));
    EXPECT_TRUE(page().formularCaption() == "Formular1" && picture()->labels().empty() && page().isEditMode());
    mouseClick(picture(), Qt::RightButton, QPoint(140, 85));
    mouseClick(picture(), Qt::RightButton, QPoint(790, 12));  // kept inside the picture
    ASSERT_TRUE(label(1) && label(2));
    EXPECT_EQ(std::tuple(color(2), label(1)->text(), label(1)->size()),
              std::tuple(QColor(Qt::white), QStringLiteral("001"), QSize(46, 21)));

    // A drag moves the label with the pointer and stops at the picture's edge.
    for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, QPoint(5, 5)}, {QEvent::MouseMove, QPoint(25, 15)},
                            {QEvent::MouseMove, QPoint(-500, 5)}, {QEvent::MouseButtonRelease, QPoint(5, 5)}})
        mouse(label(1), type, Qt::LeftButton, at);
    EXPECT_EQ(std::pair(label(1)->pos(), color(1)), std::pair(QPoint(0, 95), stationpictures::fromWinColor(kColorCyan)));

    prompts.scriptInput(QStringLiteral("Erdgeschoss"));
    menu("mnuFrmSpeichern");
    EXPECT_EQ(file(), boardRecord("001;0;95|002;754;12|", "Erdgeschoss"));
    EXPECT_TRUE(page().formularCaption() == "Erdgeschoss" && !page().isEditMode());

    // Out of edit mode a click places nothing and Delete deletes nothing.
    mouseClick(picture(), Qt::RightButton, QPoint(300, 300));
    key(picture(), Qt::Key_Delete);
    EXPECT_TRUE(label(1) && !label(3) && !page().board().isChanged());

    page().editModeAction()->trigger();
    key(picture(), Qt::Key_Delete, {}, true);  // a held key's repeats are not presses
    EXPECT_TRUE(label(1));
    key(picture(), Qt::Key_Delete);
    EXPECT_FALSE(label(1));
    menu("mnuFrmSpeichern");
    EXPECT_EQ(file(), boardRecord("002;754;12|", "Erdgeschoss"));
    EXPECT_EQ(prompts.shown.size(), 2);  // the name was asked once
}

TEST_F(BoardTest, NewAddressAndAddressDeletionCheckAndAsk)
{
    start();
    QStringList replies;  // the box after the question, "-" for none
    for (const char *answer : {"5", "S05", " 7 ", "0", "1000", "2000", "-3", "S00", "abc", "1150", "5", ""}) {
        prompts.shown.clear();
        prompts.scriptInput(QString::fromUtf8(answer));
        page().board().opened(page().board().slot());  // unchanged before each command
        page().commands().newAddress();
        EXPECT_TRUE(page().board().isChanged()) << answer;
        EXPECT_EQ(boxes().value(0), QStringLiteral("Neue Adresse|Welche Adresse möchten Sie erstellen?"));
        replies << boxes(true).value(1, QStringLiteral("-"));
    }
    const QString refused = QStringLiteral("Neue Adresse|Die Adresse '%1' kann nicht erstellt werden|1");
    EXPECT_EQ(replies, QStringList({"-", "-", "-", refused.arg("0"), refused.arg("1000"), refused.arg("2000"),
                                    refused.arg("-3"), refused.arg("S00"), refused.arg("abc"), refused.arg("1150"),
                                    "Adresse doppelt|Die Adresse 005 ist bereits auf dem Formular 'Formular1 vorhanden "
                                    "und kann nicht zweimal erstellt werden!|3", "-"}));
    EXPECT_EQ(label(1005)->text() + page().board().record().adressen, "S05005;0;200|S05;0;200|007;0;200|");

    prompts.shown.clear();
    page().selectLabel(1005);
    prompts.scriptAnswer(Prompts::Answer::No);
    page().commands().deleteAddress();
    prompts.scriptAnswer(Prompts::Answer::Yes);
    page().commands().deleteAddress();
    EXPECT_EQ(boxes(), QStringList(2, QStringLiteral("Adresse löschen|Adresse '1005' wirklich löschen?")));
    EXPECT_EQ(page().board().record().adressen, QStringLiteral("005;0;200|007;0;200|"));

    // Every board address on a board: nothing is asked and nothing placed.
    for (int address = 1; address <= 1099; ++address)
        if (isBoardAddress(address))
            formulare().at(2).adressen = withLabelPosition(formulare().at(2).adressen, address, 0, 0);
    toggleIndexBit(2, formulare().index());
    prompts.shown.clear();
    page().commands().newAddress();
    mouseClick(picture(), Qt::RightButton, QPoint(300, 300));
    EXPECT_EQ(boxes(), QStringList(2, QStringLiteral("Neue Adresse|Alle Adressen stehen bereits auf einem Formular.")));
    EXPECT_EQ(picture()->labels().size(), 2u);
}

TEST_F(BoardTest, ManagingBoardsWritesTheTableAndNoLeavesItUnchanged)
{
    folder.write(QStringLiteral("Formulare.dat"), kTwoBoards);
    start();
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Formular3"));

    // A new board, never saved, is not listed. Every header click flips the one direction, whichever column.
    FrmFormularVerwaltung dialog(page(), &window);
    QTreeWidget *list = dialog.list();
    const QTreeWidgetItem *og = list->topLevelItem(1);
    ASSERT_TRUE(og && list->topLevelItemCount() == 2);
    EXPECT_EQ((QStringList{og->text(0), og->text(1), og->text(2), og->text(3)}), (QStringList{"OG", "Nord", "1", "09:05 03.12.2012"}));
    {
        FrmFormularVerwaltung sorted(page(), &window);
        QStringList firsts;
        for (int section : {0, 3, 3}) {
            emit sorted.list()->header()->sectionClicked(section);
            sorted.loadList();
            firsts << sorted.list()->topLevelItem(0)->text(0);
        }
        EXPECT_EQ(firsts, QStringList({"OG", "OG", "EG"}));  // "09:05 ..." before "14:07 ..."
    }

    mouseClick(picture(), Qt::RightButton, QPoint(50, 60));
    prompts.scriptInput(QStringLiteral("Keller"));
    menu("mnuFrmSpeichernUnter");
    QByteArray expected = kTwoBoards + boardRecord("003;50;60|", "Keller");
    EXPECT_EQ(file(), expected);

    // Properties of a closed board, while the open board has unsaved edits.
    mouseClick(picture(), Qt::RightButton, QPoint(70, 80));
    dialog.loadList();
    list->setCurrentItem(list->topLevelItem(1));
    QTimer::singleShot(0, [] {
        QWidget *properties = QApplication::activeModalWidget();
        EXPECT_EQ(properties->windowTitle(), QStringLiteral("Formulareigenschaften"));
        child<QLineEdit>(properties, "Text1")->setText(QStringLiteral("Obergeschoss"));
        click(properties, "Command1");
    });
    click(&dialog, "Command1");
    expected.replace("\"OG\"", "\"Obergeschoss\"");
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("Obergeschoss"));

    // Deleting a closed board, then the open one: a new board opens without a question.
    list->setCurrentItem(list->topLevelItem(0));
    prompts.shown.clear();
    click(&dialog, "Command2");
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Löschen|Wollen Sie das Formular 'EG' wirklich löschen?")});
    expected.remove(0, expected.indexOf("\"002"));
    EXPECT_EQ(file(), expected);
    list->setCurrentItem(list->topLevelItem(1));
    click(&dialog, "Command2");
    expected.truncate(expected.indexOf("\"003"));
    EXPECT_EQ(file(), expected);
    EXPECT_TRUE(page().formularCaption() == "Formular3" && list->topLevelItemCount() == 1);

    // "Ja" without a name keeps the program running.
    mouseClick(picture(), Qt::RightButton, QPoint(10, 10));
    prompts.scriptAnswer(Prompts::Answer::Yes);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(file(), expected);
}

// Every slot taken, nobody at the screen: the start opens the first board, which "&Speichern" stores as it
// is; deleted, a new board takes its slot on screen and in the file, and new boards left unchanged give a
// freed slot on to the next.
TEST_F(BoardTest, AtTheLimitTheFirstBoardOpensAndADeletedSlotIsReused)
{
    QByteArray full = QByteArray(kTwoBoards).replace("\"\"\r\n#2012-05-03", "\"/nicht/da.png\"\r\n#2012-05-03");
    for (int n = 3; n <= kMaxFormulare; ++n)
        full += boardRecord("", QByteArray::number(n));
    folder.write(QStringLiteral("Formulare.dat"), full);
    {
        UnattendedScope unattended;
        start();
    }
    const QString limit = QStringLiteral("Neues Formular|Es können leider nicht mehr als 800 Formulare erstellt werden!");
    EXPECT_EQ(boxes(), (QStringList{limit, "Nuvax|Das Bild '/nicht/da.png' konnte nicht geöffnet werden!"}));
    EXPECT_TRUE(prompts.shown[0].isNotice && prompts.shown[1].isNotice);
    EXPECT_TRUE(page().formularCaption() == "EG" && label(1) && !page().isEditMode());
    menu("mnuFrmSpeichern");
    EXPECT_EQ(std::pair(file(), prompts.shown.size()), std::pair(full, qsizetype(2)));

    FrmFormularVerwaltung dialog(page(), &window);
    const auto deleteRowThenNewThrice = [&](int row, const char *caption) {
        prompts.shown.clear();
        dialog.loadList();
        dialog.list()->setCurrentItem(dialog.list()->topLevelItem(row));
        click(&dialog, "Command2");
        EXPECT_EQ(page().formularCaption(), row ? "Keller" : caption);  // only the open board gives way
        for (int i = 0; i < 3; ++i) {
            menu("mnuFrmNeu");
            EXPECT_TRUE(page().formularCaption() == caption && picture()->labels().empty() && page().isEditMode()
                        && prompts.shown.size() == 1);  // the deletion's question, and no limit box
        }
    };
    deleteRowThenNewThrice(0, "Formular1");
    mouseClick(picture(), Qt::RightButton, QPoint(50, 60));
    prompts.scriptInput(QStringLiteral("Keller"));
    menu("mnuFrmSpeichern");
    const QByteArray expected = boardRecord("001;50;60|", "Keller") + full.mid(full.indexOf("\"002"));
    EXPECT_EQ(file(), expected);
    prompts.shown.clear();
    menu("mnuFrmNeu");
    EXPECT_EQ(std::pair(boxes(), page().formularCaption()), std::pair(QStringList{limit}, QStringLiteral("Keller")));
    deleteRowThenNewThrice(4, "Formular5");
    EXPECT_EQ(file(), QByteArray(expected).replace(boardRecord("", "5"), ""));
}

TEST_F(BoardTest, OpeningShowsWhatItCanAndColoursFollowTheUnits)
{
    QByteArray boards = kTwoBoards;
    boards.replace("\"001;10;20|\"\r\n\"\"\r\n\"\"", "\"001;10;20|X01;0;0|003;1500;30|001;5;5|\"\r\n\"\"\r\n\"/nicht/da.png\"");
    boards.replace("800\r\n600\r\n\"002", "1000\r\n700\r\n\"002");
    folder.write(QStringLiteral("Formulare.dat"), boards);
    for (int a : {1, 3})
        addUnit(a, formatUnitAddress(a) + "S00203060");
    start();
    prompts.shown.clear();

    EXPECT_TRUE(window.showAddressOnBoard(3));
    EXPECT_FALSE(window.showAddressOnBoard(4));
    EXPECT_EQ(boxes(true), (QStringList{"Nuvax|Das Bild '/nicht/da.png' konnte nicht geöffnet werden!|0",
                                        "Fehler: 340|Folgende Einträge der Adressliste wurden übersprungen:\n"
                                        "'X01' ist keine Adresse\n'001' steht doppelt in der Liste|1"}));
    EXPECT_EQ(std::tuple(picture()->size(), page().formularCaption(), page().getSelectedLabel()),
              std::tuple(QSize(1000, 700), QStringLiteral("EG"), 3));
    EXPECT_EQ(std::pair(label(1)->pos(), label(3)->pos()), std::pair(QPoint(10, 20), QPoint(1000 - 46, 30)));
    EXPECT_FALSE(page().isEditMode() || page().board().isChanged());
    EXPECT_EQ(page().hScroll()->value(), page().hScroll()->maximum());

    // A poll's results: the selected label shows its state and stays selected.
    units().at(1).state = kStateFault;
    units().at(3).state = kStateOk;
    appView().refreshLabelColors();
    EXPECT_EQ(std::pair(color(1), color(3)),
              std::pair(stationpictures::fromWinColor(kColorRed), stationpictures::fromWinColor(kColorGreen)));
    page().setEditMode(true);
    key(picture(), Qt::Key_Delete);
    EXPECT_FALSE(label(3));

    // The label menu opens the description editor of the selected label's unit.
    struct DescriptionView : StationView
    {
        void editUnitDescription(int address) override { edited = address; }
        int edited = 0;
    } view;
    installView(&view);
    mouse(label(1), QEvent::MouseButtonPress, Qt::RightButton, QPoint(2, 2));
    child<QAction>(page().labelMenu(), "mnuBeschreibungAendern")->trigger();
    installView(&window);
    EXPECT_EQ(view.edited, 1);

    // Opening another board asks first; Cancel keeps everything.
    prompts.shown.clear();
    prompts.scriptAnswer(Prompts::Answer::Cancel);
    EXPECT_EQ(page().openFormular(2), 0);
    EXPECT_EQ(boxes(true), QStringList{QStringLiteral("Speichern|Formular speichern?|0")});
    EXPECT_TRUE(page().formularCaption() == "EG" && page().board().isChanged());
}

TEST_F(BoardTest, APictureIsInsertedOrItsFaultReported)
{
    start();
    page().addAddressLabel(9, 700, 500);
    const QString plan = folder.file(QStringLiteral("plan.png"));
    QImage(400, 300, QImage::Format_RGB32).save(plan);
    folder.write(QStringLiteral("kaputt.jpg"), "kein Bild");
    const QString unstorable = folder.file(QStringLiteral("plan_Ω.png"));  // a good picture, a path the file cannot keep
    QFile::copy(plan, unstorable);
    const struct { QString path; QString box; } cases[] = {
        {QString(), {}},
        {folder.file(QStringLiteral("kaputt.jpg")), QStringLiteral("Fehler|Das Bild kann nicht geladen werden. Es "
                                                                   "ist beschädigt oder das Dateiformat wird nicht unterstützt.")},
        {folder.file(QStringLiteral("fehlt.bmp")), QStringLiteral("Fehler: 53|Nuvax: Datei nicht gefunden")},
        {unstorable, "Fehler|Der Pfad des Bildes '" + unstorable + "' enthält Zeichen, die nicht gespeichert werden "
                                                                   "können. Bitte benennen Sie die Datei oder ihren Ordner um."},
        {plan, {}},
    };
    const QString filter = QStringLiteral("Bild öffnen...|Alle Bilddateien (*.bmp *.jpg *.gif *.wmf);;Bitmaps (*.bmp) "
        "(*.bmp);;JPEG-Files (*.jpg) (*.jpg);;GIF-Dateien (*.gif) (*.gif);;WMF-Dateien (*.wmf) (*.wmf);;Alle Dateien (*)");
    for (const auto &c : cases) {
        prompts.shown.clear();
        prompts.scriptInput(c.path);
        page().commands().insertPicture();
        EXPECT_EQ(boxes(), (c.box.isEmpty() ? QStringList{filter} : QStringList{filter, c.box}));
        EXPECT_EQ(picture()->size(), c.path == plan ? QSize(400, 300) : QSize(800, 600));
    }
    const auto &record = page().board().record();
    EXPECT_EQ(std::tuple(record.bild, record.breite, record.hoehe, record.adressen), std::tuple(plan, 400, 300, QStringLiteral("009;700;500|")));
    // Kept inside the new picture on screen; the list keeps the old place until the label is released.
    EXPECT_EQ(label(9)->pos(), QPoint(400 - 46, 300 - 21));
    EXPECT_TRUE(page().hScroll()->isHidden());
}
