#include "ui/forms/frmdebug.h"

#include "core/formlogic/terminalecho.h"
#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// The terminal's text as runs "colour:text", the colour as the station's 0xBBGGRR value.
QStringList coloredRuns(const FrmDebug &terminal)
{
    QStringList runs;
    for (QTextBlock block = terminal.terminal()->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QColor c = it.fragment().charFormat().foreground().color();
            const quint32 win = quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
            runs.append(QString::number(win, 16).rightJustified(6, '0') + ':' + it.fragment().text());
        }
    return runs;
}

struct SerialTerminal : ::testing::Test
{
    SerialTerminal() { settings() = StationSettings{}; }
    ~SerialTerminal() override { serialLink().reset(); }

    FakeClock clock;
    FakeWaits waits{clock};
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
};

TEST_F(SerialTerminal, BothDirectionsInTheirColoursWithMarkersAndALimit)
{
    FrmDebug terminal(nullptr);
    terminal.addText(kEchoReceived, "AB\r\n", true);
    terminal.addText(kEchoSent, "\n005P00", true);
    terminal.addText(kEchoReceived, "xßü", true);  // the data's own ß and ü stay red
    terminal.addText(kEchoSent, "a\nb", false);
    EXPECT_EQ(coloredRuns(terminal), QStringList({"0000ff:AB", "00ff00:üß", "00ffff:ß", "ff0000:005P00",
                                                  "0000ff:xßü", "ff0000:a", "ff0000:b"}));

    // The character that takes the text past 32768 empties it; the rest goes on.
    terminal.terminal()->clear();
    terminal.addText(kEchoReceived, QString(FrmDebug::kMaxLength - 3, 'x'), true);
    terminal.addText(kEchoReceived, "1234\r\n", true);
    EXPECT_EQ(terminal.terminal()->toPlainText(), "üß");

    // The view follows the stream to its newest characters.
    terminal.show();
    terminal.addText(kEchoReceived, QString(8000, 'x'), true);
    const QTextEdit *box = terminal.terminal();
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(box->textCursor().atEnd() && box->viewport()->rect().contains(box->cursorRect()));
}

TEST_F(SerialTerminal, SendenSendsTheInputOnlyWhileTheBusIsFree)
{
    serialLink().openComPort(1);
    FrmDebug terminal(nullptr);
    auto *send = terminal.findChild<QPushButton *>("Command2");
    terminal.findChild<QLineEdit *>("txtEingabe")->setText("005S00");
    send->click();
    terminal.findChild<QCheckBox *>("chkLFvoran")->setChecked(false);
    terminal.findChild<QPushButton *>("cmdCReinfuegen")->click();
    terminal.findChild<QPushButton *>("cmdLFeinfuegen")->click();
    send->click();
    const BusClaim poll(BusUser::Background);
    send->click();
    EXPECT_EQ(bus.writes(), QStringList({"\n005S00", "005S00\r\n"}));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title + '|' + prompts.shown[0].text, "Achtung|" + busBusyReason());
}

TEST_F(SerialTerminal, LivesWithTheMainWindowHoldsTheHandshakeAndHidesWhenClosed)
{
    MainWindow window;
    installView(&window);
    settings().comMode = kModeCable;
    serialLink().openComPort(1);
    installView(nullptr);

    auto *terminal = window.findChild<FrmDebug *>();
    ASSERT_TRUE(terminal);
    EXPECT_TRUE(terminal->isHidden());
    EXPECT_EQ(coloredRuns(*terminal), QStringList({"ff0000:K2Connect@", "0000ff:K2Connect@"}));
    emit window.terminalRequested();
    EXPECT_TRUE(terminal->isVisible());
    terminal->close();
    EXPECT_TRUE(terminal->isHidden());
    emit window.terminalRequested();
    EXPECT_EQ(terminal->terminal()->toPlainText(), "K2Connect@K2Connect@");
}

} // namespace
