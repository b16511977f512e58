#include "ui/board/boardpage.h"

#include "core/board/formularfile.h"
#include "core/board/labellist.h"
#include "core/registry/unitregistry.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardlabel.h"
#include "ui/board/boardpicture.h"
#include "ui/forms/frmformularverwaltung.h"
#include "ui/mainwindow.h"
#include "ui/programend.h"
#include "ui/stationpictures.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QByteArray kTwoBoards = "\"001;10;20|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"EG\"\r\n800\r\n600\r\n"
                              "\"002;5;5|\"\r\n\"Nord\"\r\n\"\"\r\n#2012-12-03 09:05:00#\r\n\"OG\"\r\n800\r\n600\r\n";

void mouse(QWidget *target, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), {});
    QApplication::sendEvent(target, &event);
}

void click(QWidget *target, Qt::MouseButton button, QPoint pos)
{
    mouse(target, QEvent::MouseButtonPress, button, pos);
    mouse(target, QEvent::MouseButtonRelease, button, pos);
}

void releaseDelete(QWidget *target, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
}

// Answers the next modal dialog once it is up.
void whenModal(std::function<void(QWidget *)> answer)
{
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

struct BoardFixture : ::testing::Test
{
    BoardFixture()
    {
        units().clear();
        formulare().clear();
        installProgramEnd([](int) {});
        installView(&window);
    }
    ~BoardFixture() override
    {
        installView(nullptr);
        installProgramEnd({});
        units().clear();
        formulare().clear();
    }
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
    void menu(const char *name) { page().commands().formularMenu()->findChild<QAction *>(QString::fromLatin1(name))->trigger(); }
    QColor color(int address) { return label(address)->palette().color(QPalette::Window); }
    QStringList boxes() const
    {
        QStringList texts;
        for (const auto &shown : prompts.shown)
            texts << shown.title + u'|' + shown.text;
        return texts;
    }

    TempAppFolder folder;
    FakeClock clock{QDateTime(QDate(2012, 5, 3), QTime(14, 7))};
    ScriptedPrompts prompts;
    MainWindow window;
};

} // namespace

TEST_F(BoardFixture, PlacingMovingAndDeletingLabelsRewritesTheirEntries)
{
    start();
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Formular1"));
    EXPECT_EQ(picture()->size(), QSize(800, 600));
    EXPECT_TRUE(page().isEditMode());
    EXPECT_EQ(page().hScroll()->singleStep(), 100);
    EXPECT_EQ(page().vScroll()->pageStep(), 500);

    click(picture(), Qt::RightButton, QPoint(140, 85));
    click(picture(), Qt::RightButton, QPoint(790, 12));  // kept inside the picture
    ASSERT_TRUE(label(1) && label(2));
    EXPECT_EQ(label(1)->text(), QStringLiteral("001"));
    EXPECT_EQ(label(1)->size(), QSize(46, 21));
    EXPECT_EQ(label(1)->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(label(1)->font().pointSize(), 12);
    EXPECT_TRUE(label(1)->font().bold());
    EXPECT_EQ(color(1), QColor(Qt::white));

    // A drag moves the label with the pointer and stops at the picture's edge.
    mouse(label(1), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    mouse(label(1), QEvent::MouseMove, Qt::LeftButton, QPoint(25, 15));
    mouse(label(1), QEvent::MouseMove, Qt::LeftButton, QPoint(-500, 5));
    mouse(label(1), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(label(1)->pos(), QPoint(0, 95));
    EXPECT_EQ(color(1), stationpictures::fromWinColor(kColorCyan));

    prompts.scriptInput(QStringLiteral("Erdgeschoss"));
    menu("mnuFrmSpeichern");
    const QByteArray saved = "\"001;0;95|002;754;12|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"Erdgeschoss\"\r\n800\r\n600\r\n";
    EXPECT_EQ(file(), saved);
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Erdgeschoss"));
    EXPECT_FALSE(page().isEditMode());

    // Out of edit mode a click places nothing and Delete deletes nothing.
    click(picture(), Qt::RightButton, QPoint(300, 300));
    releaseDelete(picture());
    EXPECT_FALSE(label(3));
    EXPECT_TRUE(label(1));
    EXPECT_FALSE(page().board().isChanged());

    page().editModeAction()->trigger();
    releaseDelete(picture(), true);  // a held key's repeats are not presses
    EXPECT_TRUE(label(1));
    releaseDelete(picture());
    EXPECT_FALSE(label(1));
    menu("mnuFrmSpeichern");
    EXPECT_EQ(file(), "\"002;754;12|" + saved.mid(saved.indexOf("\"\r\n")));
    EXPECT_EQ(prompts.shown.size(), 1);  // the name was asked once
}

TEST_F(BoardFixture, NewAddressAndAddressDeletionCheckAndAsk)
{
    start();
    const struct { const char *answer; int placed; } cases[] = {
        {"5", 5}, {"S05", 1005}, {" 7 ", 7}, {"0", 0}, {"1000", 0}, {"2000", 0}, {"-3", 0},
        {"S00", 0}, {"abc", 0}, {"1150", 0}, {"5", 0}, {"", 0},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        prompts.scriptInput(QString::fromUtf8(c.answer));
        page().board().opened(page().board().slot());  // unchanged before each command
        page().commands().newAddress();
        EXPECT_TRUE(page().board().isChanged()) << c.answer;
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown[0].title + u'|' + prompts.shown[0].text,
                  QStringLiteral("Neue Adresse|Welche Adresse möchten Sie erstellen?"));
        const QStringList rest = boxes().mid(1);
        if (c.placed) {
            EXPECT_TRUE(rest.isEmpty()) << c.answer;
            EXPECT_TRUE(label(c.placed)) << c.answer;
        } else if (QByteArray(c.answer) == "5") {
            EXPECT_EQ(rest, QStringList{QStringLiteral(
                                "Adresse doppelt|Die Adresse 005 ist bereits auf dem Formular 'Formular1 vorhanden "
                                "und kann nicht zweimal erstellt werden!")});
        } else if (*c.answer) {
            EXPECT_EQ(rest, QStringList{QStringLiteral("Neue Adresse|Die Adresse '%1' kann nicht erstellt werden")
                                            .arg(QString::fromUtf8(c.answer))});
            EXPECT_EQ(prompts.shown[1].icon, Prompts::Icon::Critical);
        }
    }
    EXPECT_EQ(label(1005)->text(), QStringLiteral("S05"));
    EXPECT_EQ(label(5)->pos(), QPoint(0, 200));
    EXPECT_EQ(page().board().record().adressen, QStringLiteral("005;0;200|S05;0;200|007;0;200|"));

    prompts.shown.clear();
    page().selectLabel(1005);
    prompts.scriptAnswer(Prompts::Answer::No);
    page().commands().deleteAddress();
    prompts.scriptAnswer(Prompts::Answer::Yes);
    page().commands().deleteAddress();
    EXPECT_EQ(boxes(), QStringList(2, QStringLiteral("Adresse löschen|Adresse '1005' wirklich löschen?")));
    EXPECT_FALSE(label(1005));
    EXPECT_EQ(page().board().record().adressen, QStringLiteral("005;0;200|007;0;200|"));

    // Every board address on a board: nothing is asked and nothing placed.
    QString all = QStringLiteral("005;0;200|007;0;200|");
    for (int address = 1; address <= 1099; ++address)
        if (isBoardAddress(address))
            all = withLabelPosition(all, address, 0, 0);
    formulare().at(2).adressen = all;
    toggleIndexBit(2, formulare().index());
    prompts.shown.clear();
    page().commands().newAddress();
    click(picture(), Qt::RightButton, QPoint(300, 300));
    EXPECT_EQ(boxes(), QStringList(2, QStringLiteral("Neue Adresse|Alle Adressen stehen bereits auf einem Formular.")));
    EXPECT_EQ(picture()->labels().size(), 2u);
}

TEST_F(BoardFixture, ManagingBoardsWritesTheTableAndNoLeavesItUnchanged)
{
    folder.write(QStringLiteral("Formulare.dat"), kTwoBoards);
    start();
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Formular3"));

    // A new board, never saved, is not listed; "Speichern unter" stores it under its new name.
    FrmFormularVerwaltung dialog(page(), &window);
    QTreeWidget *list = dialog.list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem *og = list->topLevelItem(1);
    EXPECT_EQ((QStringList{og->text(0), og->text(1), og->text(2), og->text(3)}),
              (QStringList{"OG", "Nord", "1", "09:05 03.12.2012"}));
    {
        // One direction for the list, flipped by every header click, whichever column.
        FrmFormularVerwaltung sorted(page(), &window);
        QTreeWidget *rows = sorted.list();
        emit rows->header()->sectionClicked(0);
        EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("OG"));
        emit rows->header()->sectionClicked(3);
        EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("OG"));  // "09:05 ..." before "14:07 ..."
        emit rows->header()->sectionClicked(3);
        sorted.loadList();
        EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("EG"));
    }
    click(picture(), Qt::RightButton, QPoint(50, 60));
    prompts.scriptInput(QStringLiteral("Keller"));
    menu("mnuFrmSpeichernUnter");
    const QByteArray keller = "\"003;50;60|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"Keller\"\r\n800\r\n600\r\n";
    EXPECT_EQ(file(), kTwoBoards + keller);
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Keller"));
    EXPECT_TRUE(page().isEditMode());

    // Properties of a closed board, while the open board has unsaved edits.
    click(picture(), Qt::RightButton, QPoint(70, 80));
    dialog.loadList();
    list->setCurrentItem(list->topLevelItem(1));
    whenModal([](QWidget *properties) {
        EXPECT_EQ(properties->windowTitle(), QStringLiteral("Formulareigenschaften"));
        properties->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Obergeschoss"));
        properties->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    QByteArray expected = kTwoBoards + keller;
    expected.replace("\"OG\"", "\"Obergeschoss\"");
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("Obergeschoss"));

    // Deleting a closed board, then the open one: a new board opens without a question.
    list->setCurrentItem(list->topLevelItem(0));
    prompts.shown.clear();
    prompts.scriptAnswer(Prompts::Answer::Yes);
    dialog.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Löschen|Wollen Sie das Formular 'EG' wirklich löschen?")});
    expected.remove(0, expected.indexOf("\"002"));
    EXPECT_EQ(file(), expected);
    list->setCurrentItem(list->topLevelItem(1));
    dialog.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    expected.truncate(expected.indexOf("\"003"));
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Formular4"));
    EXPECT_EQ(list->topLevelItemCount(), 1);

    // "Ja" without a name keeps the program running; "Nein" leaves the file as it is.
    click(picture(), Qt::RightButton, QPoint(10, 10));
    prompts.scriptAnswer(Prompts::Answer::Yes);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(file(), expected);
    prompts.shown.clear();
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Speichern|Formular speichern?")});
    EXPECT_EQ(file(), expected);
}

TEST_F(BoardFixture, OpeningShowsWhatItCanAndColoursFollowTheUnits)
{
    QByteArray boards = kTwoBoards;
    boards.replace("\"001;10;20|\"\r\n\"\"\r\n\"\"", "\"001;10;20|X01;0;0|003;1500;30|001;5;5|\"\r\n\"\"\r\n\"/nicht/da.png\"");
    boards.replace("800\r\n600\r\n\"002", "1000\r\n700\r\n\"002");
    folder.write(QStringLiteral("Formulare.dat"), boards);
    addUnit(1, QStringLiteral("001S00203060"));
    addUnit(3, QStringLiteral("003S00203060"));
    start();
    prompts.shown.clear();

    EXPECT_TRUE(window.showAddressOnBoard(3));
    EXPECT_FALSE(window.showAddressOnBoard(4));
    EXPECT_EQ(boxes(), (QStringList{"Nuvax|Das Bild '/nicht/da.png' konnte nicht geöffnet werden!",
                                    "Fehler: 340|Folgende Einträge der Adressliste wurden übersprungen:\n"
                                    "'X01' ist keine Adresse\n'001' steht doppelt in der Liste"}));
    EXPECT_EQ(prompts.shown[1].icon, Prompts::Icon::Critical);
    EXPECT_EQ(picture()->size(), QSize(1000, 700));
    EXPECT_EQ(page().formularCaption(), QStringLiteral("EG"));
    EXPECT_EQ(label(1)->pos(), QPoint(10, 20));
    EXPECT_EQ(label(3)->pos(), QPoint(1000 - 46, 30));
    EXPECT_EQ(page().getSelectedLabel(), 3);
    EXPECT_FALSE(page().isEditMode());
    EXPECT_FALSE(page().board().isChanged());
    EXPECT_EQ(page().hScroll()->value(), page().hScroll()->maximum());

    // A poll's results: the selected label shows its state and stays selected.
    units().at(1).state = kStateFault;
    units().at(3).state = kStateOk;
    appView().refreshLabelColors();
    EXPECT_EQ(color(1), stationpictures::fromWinColor(kColorRed));
    EXPECT_EQ(color(3), stationpictures::fromWinColor(kColorGreen));
    page().setEditMode(true);
    releaseDelete(picture());
    EXPECT_FALSE(label(3));

    // The label menu opens the description editor of the selected label's unit.
    struct DescriptionView : StationView
    {
        void editUnitDescription(int address) override { edited = address; }
        int edited = 0;
    } view;
    installView(&view);
    mouse(label(1), QEvent::MouseButtonPress, Qt::RightButton, QPoint(2, 2));
    page().labelMenu()->findChild<QAction *>(QStringLiteral("mnuBeschreibungAendern"))->trigger();
    installView(&window);
    EXPECT_EQ(view.edited, 1);

    // Opening another board asks first; Cancel keeps everything.
    prompts.shown.clear();
    prompts.scriptAnswer(Prompts::Answer::Cancel);
    EXPECT_EQ(page().openFormular(2), 0);
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Speichern|Formular speichern?")});
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(page().formularCaption(), QStringLiteral("EG"));
    EXPECT_TRUE(page().board().isChanged());
}

TEST_F(BoardFixture, APictureIsInsertedOrItsFaultReported)
{
    start();
    page().addAddressLabel(9, 700, 500);
    const QString plan = folder.file(QStringLiteral("plan.png"));
    QImage(400, 300, QImage::Format_RGB32).save(plan);
    folder.write(QStringLiteral("kaputt.jpg"), "kein Bild");

    const struct { QString path; const char *box; } cases[] = {
        {QString(), nullptr},
        {folder.file(QStringLiteral("kaputt.jpg")),
         "Fehler|Das Bild kann nicht geladen werden. Es ist beschädigt oder das Dateiformat wird nicht unterstützt."},
        {folder.file(QStringLiteral("fehlt.bmp")), "Fehler: 53|Nuvax: Datei nicht gefunden"},
        {plan, nullptr},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        prompts.scriptInput(c.path);
        page().commands().insertPicture();
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Bild öffnen..."));
        EXPECT_EQ(prompts.shown[0].text,
                  QStringLiteral("Alle Bilddateien (*.bmp *.jpg *.gif *.wmf);;Bitmaps (*.bmp) (*.bmp);;"
                                 "JPEG-Files (*.jpg) (*.jpg);;GIF-Dateien (*.gif) (*.gif);;WMF-Dateien (*.wmf) "
                                 "(*.wmf);;Alle Dateien (*)"));
        EXPECT_EQ(boxes().mid(1), c.box ? QStringList{QString::fromUtf8(c.box)} : QStringList()) << c.path.toStdString();
        if (c.box) {
            EXPECT_EQ(picture()->size(), QSize(800, 600));
        }
    }
    EXPECT_EQ(picture()->size(), QSize(400, 300));
    EXPECT_EQ(page().board().record().bild, plan);
    EXPECT_EQ(std::pair(page().board().record().breite, page().board().record().hoehe), std::pair(400, 300));
    // Kept inside the new picture on screen; the list keeps the old place until the label is released.
    EXPECT_EQ(label(9)->pos(), QPoint(400 - 46, 300 - 21));
    EXPECT_EQ(page().board().record().adressen, QStringLiteral("009;700;500|"));
    EXPECT_TRUE(page().hScroll()->isHidden());
}

TEST_F(BoardFixture, FindingAnAddressOnADroppedBoardLeavesANewBoardThatSaves)
{
    start();
    page().addAddressLabel(4, 10, 10);
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(window.showAddressOnBoard(4));  // on the open board, which "Nein" drops
    EXPECT_EQ(page().formularCaption(), QStringLiteral("Formular1"));
    EXPECT_TRUE(picture()->labels().empty());
    EXPECT_TRUE(page().isEditMode());

    page().addAddressLabel(6, 10, 10);
    prompts.scriptInput(QStringLiteral("Keller"));
    menu("mnuFrmSpeichern");
    EXPECT_EQ(file(), "\"006;10;10|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n\"Keller\"\r\n800\r\n600\r\n");
}
