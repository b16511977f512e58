#include "ui/forms/frmdebug.h"

#include "core/stationsettings.h"
#include "core/terminalecho.h"
#include "device/busclaim.h"
#include "device/seriallink.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "ui/mainwindow.h"
#include "ui/stationpictures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
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
            runs.append(QString::number(win, 16).rightJustified(6, u'0') + u':' + it.fragment().text());
        }
    return runs;
}

TEST(SerialTerminal, BothDirectionsInTheirColoursWithMarkersAndALimit)
{
    FrmDebug terminal(nullptr);
    terminal.addText(kEchoReceived, QStringLiteral("AB\r\n"), true);
    terminal.addText(kEchoSent, QStringLiteral("\n005P00"), true);
    terminal.addText(kEchoReceived, QStringLiteral("xßü"), true);  // the data's own ß and ü stay red
    terminal.addText(kEchoSent, QStringLiteral("a\nb"), false);
    EXPECT_EQ(coloredRuns(terminal),
              QStringList({QStringLiteral("0000ff:AB"), QStringLiteral("00ff00:üß"), QStringLiteral("00ffff:ß"),
                           QStringLiteral("ff0000:005P00"), QStringLiteral("0000ff:xßü"), QStringLiteral("ff0000:a"),
                           QStringLiteral("ff0000:b")}));

    // The character that takes the text past 32768 empties it; the rest goes on.
    terminal.terminal()->clear();
    terminal.addText(kEchoReceived, QString(FrmDebug::kMaxLength - 3, u'x'), true);
    terminal.addText(kEchoReceived, QStringLiteral("1234\r\n"), true);
    EXPECT_EQ(terminal.terminal()->toPlainText(), QStringLiteral("üß"));
}

TEST(SerialTerminal, SendenSendsTheInputOnlyWhileTheBusIsFree)
{
    FakeClock clock;
    FakeWaits waits{clock};
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    settings() = StationSettings{};
    serialLink().openComPort(1);
    bus.clearWrites();

    FrmDebug terminal(nullptr);
    auto *input = terminal.findChild<QLineEdit *>(QStringLiteral("txtEingabe"));
    auto *send = terminal.findChild<QPushButton *>(QStringLiteral("Command2"));
    input->setText(QStringLiteral("005S00"));
    send->click();
    terminal.findChild<QCheckBox *>(QStringLiteral("chkLFvoran"))->setChecked(false);
    terminal.findChild<QPushButton *>(QStringLiteral("cmdCReinfuegen"))->click();
    terminal.findChild<QPushButton *>(QStringLiteral("cmdLFeinfuegen"))->click();
    send->click();
    {
        const BusClaim poll(BusUser::Background);
        send->click();
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].title + u'|' + prompts.shown[0].text, QStringLiteral("Achtung|") + busBusyReason());
    }
    EXPECT_EQ(bus.writes(), QStringList({QStringLiteral("\n005S00"), QStringLiteral("005S00\r\n")}));
    EXPECT_EQ(input->text(), QStringLiteral("005S00\r\n"));
    serialLink().reset();
}

TEST(SerialTerminal, LivesWithTheMainWindowAndHidesWhenClosed)
{
    FakeClock clock;
    FakeWaits waits{clock};
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    settings() = StationSettings{};
    MainWindow window;
    installView(&window);
    settings().comMode = kModeCable;
    serialLink().openComPort(1);  // the handshake comes before anyone opens the terminal

    auto *terminal = window.findChild<FrmDebug *>();
    ASSERT_TRUE(terminal);
    EXPECT_TRUE(terminal->isHidden());
    EXPECT_EQ(terminal->terminal()->toPlainText(), QStringLiteral("K2Connect@K2Connect@"));
    emit window.terminalRequested();
    EXPECT_TRUE(terminal->isVisible());
    terminal->close();
    EXPECT_TRUE(terminal->isHidden());
    emit window.terminalRequested();
    EXPECT_EQ(terminal->terminal()->toPlainText(), QStringLiteral("K2Connect@K2Connect@"));
    installView(nullptr);
    serialLink().reset();
}

} // namespace
