#include "ui/mainwindow.h"

#include "core/board/formularfile.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/stationsettings.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"
#include "ui/board/boardpage.h"
#include "ui/boardtoolstrip.h"
#include "ui/hiddenchords.h"
#include "ui/programend.h"
#include "ui/stationstatusbar.h"
#include "ui/trayicon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void resetStores()
{
    units().clear();
    formulare().clear();
    settings() = StationSettings{};
}

void storeBoard(int slot, const QString &name)
{
    formulare().at(slot).name = name;
    formulare().at(slot).inUse = true;
    if (!isIndexUsed(slot, formulare().index()))
        toggleIndexBit(slot, formulare().index());
}

// A window with its program end recorded instead of carried out.
struct WindowFixture : ::testing::Test
{
    WindowFixture()
    {
        resetStores();
        installProgramEnd([this](int code) { endedWith = code; });
        installView(&window);
    }
    ~WindowFixture() override
    {
        installView(nullptr);
        installProgramEnd({});
        resetStores();
    }

    TempAppFolder folder;
    ScriptedPrompts prompts;
    int endedWith = -1;
    MainWindow window;
};

} // namespace

TEST(HiddenChords, OnlyShiftCtrlAltExactlyOpenTheWindows)
{
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const struct { int key; Qt::KeyboardModifiers mods; HiddenChord chord; } cases[] = {
        {Qt::Key_J, all, HiddenChord::Terminal},
        {Qt::Key_K, all, HiddenChord::Expert},
        {Qt::Key_J, all | Qt::KeypadModifier, HiddenChord::Terminal},
        {Qt::Key_J, Qt::ShiftModifier | Qt::ControlModifier, HiddenChord::None},
        {Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, HiddenChord::None},
        {Qt::Key_J, Qt::NoModifier, HiddenChord::None},
        {Qt::Key_L, all, HiddenChord::None},
        {Qt::Key_I, all, HiddenChord::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hiddenChordFor(c.key, c.mods), c.chord) << c.key << " " << c.mods.toInt();
}

TEST_F(WindowFixture, ChordOnAFocusedControlOpensTheTerminalOnce)
{
    auto *edit = new QLineEdit(window.page(1));
    window.load();
    window.showPage(2);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit);

    int terminal = 0, expert = 0;
    QObject::connect(&window, &MainWindow::terminalRequested, [&] { ++terminal; });
    QObject::connect(&window, &MainWindow::expertRequested, [&] { ++expert; });
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_J, all);
    QApplication::sendEvent(edit, &release);
    EXPECT_EQ(terminal, 1);
    QKeyEvent expertKey(QEvent::KeyRelease, Qt::Key_K, all);
    QApplication::sendEvent(edit, &expertKey);
    QKeyEvent withoutAlt(QEvent::KeyRelease, Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier);
    QApplication::sendEvent(edit, &withoutAlt);
    EXPECT_EQ(expert, 1);
    EXPECT_EQ(terminal, 1);
}

TEST_F(WindowFixture, EachTabShowsItsPageAndTheBoardStripOnlyWithTheBoard)
{
    window.load();
    window.show();
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabStrip1"));
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(window.selectedTab(), 1);

    for (int tab = 1; tab <= 5; ++tab) {
        tabs->setCurrentIndex(tab - 1);  // as the operator's click
        for (int i = 0; i < MainWindow::kPageCount; ++i)
            EXPECT_EQ(window.page(i)->isVisible(), i == tab - 1) << "tab " << tab << " page " << i;
        EXPECT_EQ(window.boardToolStrip()->isVisible(), tab == 3) << tab;
    }
}

TEST_F(WindowFixture, PagesFillTheWindowAndTheBoardPageLiesBelowItsStrip)
{
    window.load();
    window.showPage(3);
    window.show();
    window.resize(900, 640);
    QApplication::processEvents();

    const QWidget *area = window.centralWidget();
    const QWidget *board = window.page(2);
    const QWidget *strip = window.boardToolStrip();
    EXPECT_EQ(strip->geometry().bottom() + 1, board->y());
    EXPECT_EQ(strip->width(), board->width());
    for (int i = 0; i < MainWindow::kPageCount; ++i) {
        EXPECT_EQ(window.page(i)->x(), 0);
        EXPECT_EQ(window.page(i)->geometry().right() + 1, area->width()) << i;
        EXPECT_EQ(window.page(i)->geometry().bottom() + 1, area->height()) << i;
    }

    // The home piece sits centred, at a third of the free height.
    window.showPage(1);
    const QWidget *home = window.findChild<QWidget *>(QStringLiteral("picHome"));
    const QRect inner = window.page(0)->contentsRect();
    EXPECT_NEAR(home->x() - inner.x(), (inner.width() - home->width()) / 2, 1);
    EXPECT_NEAR(home->y() - inner.y(), (inner.height() - home->height()) / 3, 1);
}

TEST_F(WindowFixture, WithoutATrayMinimisingKeepsTheWindowAndTheTrayClickRestoresIt)
{
    ASSERT_FALSE(TrayIcon::available());
    window.load();
    window.showAtStart(true, false);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());

    emit window.trayIcon().restoreRequested();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(WindowFixture, CancelOnTheBoardQuestionKeepsTheProgramRunning)
{
    window.load();
    int saves = 0;
    window.setBoardHooks({[] { return true; }, [&] { return ++saves > 0; }, [] {}, {}});
    prompts.scriptAnswer(Prompts::Answer::Cancel);

    EXPECT_FALSE(window.close());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Formular speichern?"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Speichern"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNoCancel);
    EXPECT_EQ(window.selectedTab(), 3);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(endedWith, -1);

    prompts.scriptAnswer(Prompts::Answer::Yes);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(endedWith, 0);
}

TEST_F(WindowFixture, EverySecondTheClockAndTheIdleTextAreShown)
{
    FakeClock clock(QDateTime(QDate(2011, 3, 7), QTime(14, 5, 59)));
    window.load();
    EXPECT_EQ(window.stationStatusBar()->panelText(1), QStringLiteral("Nuvax PC-Zentrale v1.0"));
    EXPECT_EQ(window.stationStatusBar()->panelText(3), QStringLiteral("COM I/O"));
    window.setDataIndicator(2);
    auto *timer = window.findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);

    emit timer->timeout({});
    EXPECT_EQ(window.stationStatusBar()->panelText(4), QStringLiteral("Montag 07.03.2011 14:05"));
    EXPECT_EQ(window.stationStatusBar()->panelText(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));
    EXPECT_EQ(window.stationStatusBar()->indicator(), 0);

    clock.setLocal(QDateTime(QDate(2011, 3, 13), QTime(9, 0)));
    emit timer->timeout({});
    EXPECT_EQ(window.stationStatusBar()->panelText(4), QStringLiteral("Sonntag 13.03.2011 09:00"));
}

TEST_F(WindowFixture, LogoFromTheProgramFolderStandsAtTheRightEdge)
{
    // One white pixel.
    static const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF,
        0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    folder.write(QStringLiteral("logo.gif"), QByteArray(reinterpret_cast<const char *>(gif), sizeof gif));
    window.load();
    window.show();
    window.resize(800, 600);
    QApplication::processEvents();
    const auto *logo = window.findChild<QLabel *>(QStringLiteral("imgLogo"));
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->x(), window.centralWidget()->width() - logo->width() - 15);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WindowFixture, ClosingSavesUnitsBoardsWindowPlaceAndSignal)
{
    addUnit(5, QStringLiteral("005S00203060"));
    // The keys hold the whole window, frame included, from one run to the next.
    folder.write(QStringLiteral("Nuvax.ini"),
                 "[Program]\r\nWindowTop=300\r\nWindowLeft=150\r\nWindowHeight=9000\r\nWindowWidth=12000\r\n");
    window.load();
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.frameGeometry(), QRect(10, 20, 800, 600));
    EXPECT_LT(window.height(), 600) << "no frame to tell the whole window from its inner part";
    // What only lives in memory so far: a test result, a board beside the
    // open one, the signal settings.
    units().at(5).state = kStateOk;
    storeBoard(2, QStringLiteral("Erdgeschoss"));
    settings().signalAdr = 12;
    settings().sigResultAktiv = true;

    window.showInstanzname(QStringLiteral("Nuvax PC-Zentrale"), QString());

    EXPECT_TRUE(window.close());
    EXPECT_EQ(endedWith, 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(window.trayIcon().isTrayIconShown());

    units().clear();
    formulare().clear();
    ASSERT_TRUE(loadUnits(false));
    EXPECT_EQ(units().at(5).state, kStateOk);
    ASSERT_TRUE(loadFormulare());
    EXPECT_EQ(formulare().at(1).name, QStringLiteral("Erdgeschoss"));
    const QByteArray ini = folder.read(QStringLiteral("Nuvax.ini"));
    for (const char *line : {"WindowTop=300\r\nWindowLeft=150\r\nWindowHeight=9000\r\nWindowWidth=12000\r\n",
                             "SignalAdr=12\r\n", "SigResultAktiv=True\r\n"})
        EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.toStdString();
}

TEST_F(WindowFixture, NoOnTheBoardQuestionDropsOnlyTheOpenBoardsChanges)
{
    storeBoard(1, QStringLiteral("Erdgeschoss"));
    ASSERT_TRUE(saveFormulare());
    window.load();
    const QByteArray stored = folder.read(QStringLiteral("Formulare.dat"));
    // The new board opened at the start, with a label placed on it.
    window.boardPage()->addAddressLabel(5, 10, 10);
    prompts.scriptAnswer(Prompts::Answer::No);

    EXPECT_TRUE(window.close());
    EXPECT_EQ(endedWith, 0);
    EXPECT_EQ(folder.read(QStringLiteral("Formulare.dat")), stored);
    EXPECT_FALSE(folder.read(QStringLiteral("Units.dat")).isEmpty());
}
