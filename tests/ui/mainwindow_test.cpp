
#include "core/board/formularfile.h"
#include "core/platform/stationguard.h"
#include "ui/board/boardpage.h"
#include "ui/boardtoolstrip.h"
#include "ui/stationstatusbar.h"
#include "ui/trayicon.h"
#include "ui/uitest.h"

#include <future>

using WindowTest = WindowUiTest<>;

// The chords act on release wherever the focus is, and only with exactly Shift+Ctrl+Alt.
TEST_F(WindowTest, ChordsOnAFocusedControlOpenTheirWindowsOnce)
{
    auto *edit = new QLineEdit(window.page(1));
    window.load();
    window.showPage(2);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QString opened;
    QObject::connect(&window, &MainWindow::terminalRequested, [&] { opened += u'T'; });
    QObject::connect(&window, &MainWindow::expertRequested, [&] { opened += u'E'; });
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_J, all}, {Qt::Key_K, all}, {Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier},
        {Qt::Key_J, all | Qt::KeypadModifier}, {Qt::Key_L, all}, {Qt::Key_J, Qt::NoModifier}};
    for (const auto &[key, modifiers] : keys) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(edit, &release);
    }
    EXPECT_EQ(opened, QStringLiteral("TET"));
}

// Each tab shows its one page, the board's tool strip only with the board.
TEST_F(WindowTest, TabsPagesTheTickAndWithoutATrayMinimisingKeepsTheWindow)
{
    FakeClock clock(QDateTime(QDate(2011, 3, 7), QTime(14, 5, 59)));
    window.load();
    window.show();
    auto *tabs = child<QTabBar>(&window, "TabStrip1");
    ASSERT_EQ(tabs->count(), 5);
    QString shown;
    for (int tab = 0; tab < 5; ++tab) {
        tabs->setCurrentIndex(tab);  // as the operator's click
        for (int i = 0; i < MainWindow::kPageCount; ++i)
            shown += window.page(i)->isVisible() ? QString::number(i) : QStringLiteral("-");
        shown += window.boardToolStrip()->isVisible() ? QStringLiteral("B ") : QStringLiteral(" ");
    }
    EXPECT_EQ(shown, QStringLiteral("0---- -1--- --2--B ---3- ----4 "));
    // The one-second tick reaches the status bar (its texts are the tick's own).
    StationStatusBar &bar = *window.stationStatusBar();
    window.setDataIndicator(2);
    auto *timer = child<QTimer>(&window, "Timer1");
    EXPECT_TRUE(timer->isActive() && timer->interval() == 1000);
    emit timer->timeout({});
    EXPECT_EQ(QStringList({bar.panelText(1), bar.panelText(3), bar.panelText(4)}),
              QStringList({"Nuvax PC-Zentrale v1.0", "COM I/O", "Montag 07.03.2011 14:05"}));
    EXPECT_EQ(bar.indicator(), 0);
    // No tray headless: minimising must not hide the only window.
    ASSERT_FALSE(TrayIcon::available());
    window.showAtStart(true, false);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible() && window.isMinimized());
    emit window.trayIcon().restoreRequested();
    EXPECT_TRUE(window.isVisible() && !window.isMinimized());
}

// A later start on the folder, by any of its names, brings the window back from the tray and in front; one
// that the station cannot answer (no events run here meanwhile) is given up on, with the folder named.
TEST_F(WindowTest, ALaterStartBringsTheWindowBackOrSaysWhyItCannot)
{
    window.load();
    StationGuard guard(folder.path());
    ASSERT_EQ(guard.claim(), StationGuard::Claim::Station);
    QObject::connect(&guard, &StationGuard::showRequested, &window, &MainWindow::bringToFront);
    window.showMinimized();
    window.hide(); // as the tray keeps it
    ASSERT_TRUE(QFile::link(folder.path(), folder.file(QStringLiteral("link"))));
    const QString link = folder.file(QStringLiteral("link/"));
    auto later = std::async(std::launch::async, [&] { return StationGuard(link).claim(); });
    while (later.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QApplication::processEvents();
    EXPECT_EQ(later.get(), StationGuard::Claim::HandedOver);
    EXPECT_TRUE(window.isVisible() && !window.isMinimized());
    EXPECT_EQ(QApplication::activeWindow(), &window);

    // The station's process is named however often the file is opened and closed in it meanwhile.
    for (int start = 0; start < 2; ++start) {
        StationGuard unanswered(folder.path(), 300);
        EXPECT_EQ(unanswered.claim(), StationGuard::Claim::Unreachable);
        EXPECT_EQ(unanswered.failure(),
                  QStringLiteral("Im Programmordner %1 läuft bereits die Zentrale (Prozess %2), die nicht rechtzeitig "
                                 "geantwortet hat; ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.")
                      .arg(folder.path())
                      .arg(QCoreApplication::applicationPid()));
    }
}

// Cancel on the board question keeps the program; "Nein" drops only the open board's changes. The window
// keys hold the whole window, frame included (their round trip and the saves at the end: executable test).
TEST_F(WindowTest, ClosingAsksForTheOpenBoardAndNeinDropsOnlyItsChanges)
{
    folder.write(QStringLiteral("Nuvax.ini"),
                 "[Program]\r\nWindowTop=300\r\nWindowLeft=150\r\nWindowHeight=9000\r\nWindowWidth=12000\r\n");
    window.load();
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.frameGeometry(), QRect(10, 20, 800, 600));
    EXPECT_LT(window.height(), 600) << "no frame to tell the whole window from its inner part";
    formulare().at(2).name = QStringLiteral("Erdgeschoss");
    formulare().at(2).inUse = true;
    toggleIndexBit(2, formulare().index());
    window.boardPage()->addAddressLabel(7, 10, 10);

    prompts.scriptAnswer(Prompts::Answer::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(std::pair(window.selectedTab(), endedWith), std::pair(3, -1));
    prompts.scriptAnswer(Prompts::Answer::No);
    EXPECT_TRUE(window.close() && endedWith == 0 && !window.trayIcon().isTrayIconShown());
    EXPECT_EQ(boxes(), QStringList(2, QStringLiteral("Speichern|Formular speichern?")));
    EXPECT_EQ(std::pair(prompts.shown[0].icon, prompts.shown[0].buttons),
              std::pair(Prompts::Icon::Question, Prompts::Buttons::YesNoCancel));
    const QByteArray boards = folder.read(QStringLiteral("Formulare.dat"));
    EXPECT_TRUE(boards.contains("\"Erdgeschoss\"") && !boards.contains("007;")) << boards.toStdString();
}
