#include "core/formlogic/terminalecho.h"
#include "support/pdfprinterchoice.h"
#include "ui/accessiblewindows.h"
#include "ui/forms/frmdebug.h"
#include "ui/forms/frmexpert.h"
#include "ui/forms/frmmeldung.h"
#include "ui/forms/frmsearchwizard.h"
#include "ui/forms/frmunitstatus.h"
#include "ui/uitest.h"

namespace {

struct FormsTest : BusUiTest
{
    FormsTest() { initStatusPages(); }
    ~FormsTest() override
    {
        delete FrmMeldung::instance();
        delete FrmUnitStatus::instance();
    }
    RecordingView view;
};

} // namespace

using SearchWizard = FormsTest;

// Registered: 5 and 999. On the bus: 998. Escape and "Abbrechen" leave "Units.dat" alone.
TEST_F(SearchWizard, EscapeAbbrechenAndTheStartAddressCheck)
{
    for (int a : {5, 999})
        addUnit(a, sampleMessage(kType0203, formatUnitAddress(a)).left(12));
    saveUnits(false);
    const QByteArray saved = folder.read("Units.dat");
    serialLink().openComPort(1);
    bus.addUnit(998, kType0404);
    // "Weiter" up to the search page, which runs the search within the click.
    const auto searchFrom = [](FrmSearchWizard &w, const char *start) {
        click(&w, "cmdWeiter");
        child<QLineEdit>(&w, "txtStartAddress")->setText(start);
        click(&w, "cmdWeiter");
        click(&w, "cmdWeiter");
    };
    {   // Escape while 998 is asked: the search ends, then the wizard closes, nothing changed.
        FrmSearchWizard wizard(nullptr);
        wizard.show();
        duringWaits(waits, [&] {
            if (child<QLabel>(&wizard, "lblStat")->text() == "Adresse: 998/999   Versuch #1" && wizard.isVisible()) {
                key(&wizard, Qt::Key_Escape);
                EXPECT_TRUE(wizard.isVisible());
            }
        }, [&] { searchFrom(wizard, "990"); });
        EXPECT_TRUE(!wizard.isVisible() && wizard.result() == QDialog::Rejected);
        EXPECT_TRUE(bus.writes().last() == "\n998F00" && folder.read("Units.dat") == saved);
    }
    // A bad start address holds both buttons; "Abbrechen" after a whole search changes nothing.
    FrmSearchWizard wizard(nullptr);
    wizard.show();
    click(&wizard, "cmdWeiter");
    for (const char *typed : {"0", "1000", "abc", ""}) {
        child<QLineEdit>(&wizard, "txtStartAddress")->setText(typed);
        EXPECT_FALSE(child(&wizard, "cmdWeiter")->isEnabled() || child(&wizard, "cmdBack")->isEnabled()) << typed;
    }
    EXPECT_EQ(boxes(), QStringList(4, "Startadresse|Bitte geben Sie eine gültige Zahl zwischen 1 und 999 ein"));
    child<QLineEdit>(&wizard, "txtStartAddress")->setText("1");  // valid again: both buttons back
    click(&wizard, "cmdBack");
    searchFrom(wizard, "995");
    click(&wizard, "cmdCancel");
    EXPECT_TRUE(wizard.result() == QDialog::Rejected && !wizard.isVisible());
    EXPECT_EQ(folder.read("Units.dat"), saved);
}

using ExpertPanel = FormsTest;

// "+" steps the address instead of typing; held keys send once; a busy bus or a bad address sends nothing.
TEST_F(ExpertPanel, FunctionKeysSendTheirFramesOnlyToAValidAddressOnAFreeBus)
{
    serialLink().openComPort(1);
    FrmExpert panel(nullptr);
    auto *address = child<QLineEdit>(&panel, "txtAddress");
    address->setFocus();
    const auto typeAndPress = [&](const char *typed, int code) {
        address->setText(typed);
        key(&panel, code);
    };
    typeAndPress("5", Qt::Key_F3);
    key(&panel, Qt::Key_F3, {}, true);         // held down: one frame only
    typeAndPress("s3", Qt::Key_F8);
    key(&panel, Qt::Key_Plus, "+");            // a step, not a character
    EXPECT_EQ(address->text(), "S04");
    click(&panel, "cmdAction5");
    key(&panel, Qt::Key_F12);                  // "ALL" on
    EXPECT_TRUE(address->text() == "ALL" && !address->isEnabled());
    click(&panel, "cmdAction5");
    panel.stepAddress(1);                      // no step under "ALL"
    EXPECT_EQ(bus.writes(), QStringList({"\n005P00", "\nS03p00", "\nS04C0D", "\nALLC0D"}));
    panel.runAction(FrmExpert::kStatusAction);  // F9 under "ALL": no such unit
    child<QCheckBox>(&panel, "Check1")->setChecked(false);
    EXPECT_EQ(address->text(), "S04");
    bus.addUnit(12, kType0203);                 // F9 on a unit: its page in the status window
    address->setFocus();
    typeAndPress("12", Qt::Key_F9);
    EXPECT_EQ(std::pair(bus.writes().last(), view.statusPageShows), std::pair(QStringLiteral("\n012S00"), 1));

    bus.clearWrites();
    for (const char *typed : {"000", "0", "G01", "S1A"})
        typeAndPress(typed, Qt::Key_F1);
    QString busy;
    {
        const BusClaim test(BusUser::Background);
        typeAndPress("7", Qt::Key_F2);
        typeAndPress("7", Qt::Key_F9);
        busy = "Achtung|" + busBusyReason();
    }
    EXPECT_TRUE(bus.writes().isEmpty());
    const QString invalid = "Fehler|Die eingegebene Adresse ist ungültig. Bitte geben Sie eine gültige Adresse ein!";
    EXPECT_EQ(boxes(), QStringList({"Achtung|Ungültige Geräteadresse", invalid, invalid, invalid, invalid, busy, busy}));
    // Closed during its status query's wait, a panel only hides and goes once the query returns.
    QPointer<FrmExpert> closing = new FrmExpert(nullptr);
    closing->show();
    bus.addUnit(1, kType0203).silent = true;
    duringWaits(waits, [&] {
        if (closing && closing->isVisible())
            closing->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(closing);
    }, [&] { closing->runAction(FrmExpert::kStatusAction); });
    EXPECT_EQ(boxes().last(), "Achtung|Gerät antwortete nicht auf Anfrage");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closing);
}

using SerialTerminal = FormsTest;

// The echo inserts runs of one colour (0xBBGGRR as the station writes it), markers and a limit;
// "Senden" sends only while the bus is free.
TEST_F(SerialTerminal, HandshakeHeldByTheWindowColoursMarkersLimitAndSendenOnAFreeBus)
{
    const auto coloredRuns = [](const FrmDebug &terminal) {
        QStringList runs;
        for (QTextBlock block = terminal.terminal()->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QColor c = it.fragment().charFormat().foreground().color();
                const quint32 win = quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
                runs.append(QString::number(win, 16).rightJustified(6, '0') + ':' + it.fragment().text());
            }
        return runs;
    };
    // The box takes in what came at most every few tens of milliseconds.
    const auto shownRuns = [&](const FrmDebug &terminal) {
        waitUntil([] { return false; }, 3 * FrmDebug::kGatherMs);
        return coloredRuns(terminal);
    };
    // The main window's terminal holds the handshake from before it was first shown; hidden, it lays nothing out.
    MainWindow window;
    installView(&window);
    settings().comMode = kModeCable;
    serialLink().openComPort(1);
    installView(&view);
    auto *terminal = window.findChild<FrmDebug *>();
    ASSERT_TRUE(terminal && terminal->isHidden());
    EXPECT_TRUE(terminal->terminal()->document()->isEmpty());
    emit window.terminalRequested();
    EXPECT_EQ(coloredRuns(*terminal), QStringList({"ff0000:K2Connect@", "0000ff:K2Connect@"}));
    EXPECT_TRUE(terminal->isVisible() && (terminal->close(), terminal->isHidden()));
    emit window.terminalRequested();  // the same window with its text
    EXPECT_EQ(terminal->terminal()->toPlainText(), "K2Connect@K2Connect@");

    click(terminal, "Command1");
    terminal->addText(kEchoReceived, "AB\r\n", true);
    terminal->addText(kEchoSent, "\n005P00", true);
    terminal->addText(kEchoReceived, "xßü", true);  // the data's own ß and ü stay red
    terminal->addText(kEchoSent, "a\nb", false);
    EXPECT_EQ(shownRuns(*terminal), QStringList({"0000ff:AB", "00ff00:üß", "00ffff:ß", "ff0000:005P00",
                                                 "0000ff:xßü", "ff0000:a", "ff0000:b"}));
    // The character that takes the text past 32768 empties it; the rest goes on.
    click(terminal, "Command1");
    terminal->addText(kEchoReceived, QString(TerminalLog::kMaxLength - 3, 'x'), true);
    shownRuns(*terminal);
    terminal->addText(kEchoReceived, "1234\r\n", true);
    EXPECT_EQ(shownRuns(*terminal), QStringList({"00ff00:üß"}));
    // The view follows the stream to its newest characters.
    terminal->addText(kEchoReceived, QString(8000, 'x'), true);
    shownRuns(*terminal);
    const QTextEdit *box = terminal->terminal();
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(box->textCursor().atEnd() && box->viewport()->rect().contains(box->cursorRect()));

    bus.clearWrites();
    child<QLineEdit>(terminal, "txtEingabe")->setText("005S00");
    click(terminal, "Command2");
    child<QCheckBox>(terminal, "chkLFvoran")->setChecked(false);
    click(terminal, "cmdCReinfuegen");
    click(terminal, "cmdLFeinfuegen");
    click(terminal, "Command2");
    const BusClaim poll(BusUser::Background);
    click(terminal, "Command2");
    EXPECT_EQ(bus.writes(), QStringList({"\n005S00", "005S00\r\n"}));
    EXPECT_EQ(boxes(), QStringList{"Achtung|" + busBusyReason()});
}

using StationWindows = FormsTest;

// A test driver finds both plain-widget windows by the Window role; fields inside keep theirs.
TEST_F(StationWindows, AlertsGatherInOneWindowAndTheStatusWindowShowsTheLatestPageAndPrintsIt)
{
    installAccessibleWindows();
    settings().instanzname = QStringLiteral("Klinik Süd");
    FrmMeldung::addAlert(QStringLiteral("007 meldet: Netzausfall\r\nKontakt 1"));
    FrmMeldung *window = FrmMeldung::instance();
    FrmMeldung::addAlert(QStringLiteral("S05 meldet: Akku"));
    ASSERT_TRUE(window && FrmMeldung::instance() == window);
    EXPECT_TRUE(window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const auto shown = [] { return FrmMeldung::instance()->windowTitle() + '|' + FrmMeldung::instance()->findChild<QPlainTextEdit *>()->toPlainText(); };
    EXPECT_EQ(shown(), "Nuvax (Klinik Süd) - MELDUNG!|007 meldet: Netzausfall\nKontakt 1\n\nS05 meldet: Akku\n\n");
    // "&OK" ends the window and its text; the next alert opens an empty one.
    click(window, "Command1");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FrmMeldung::instance());
    settings().instanzname.clear();
    FrmMeldung::addAlert(QStringLiteral("012 meldet: Lampe"));
    EXPECT_EQ(shown(), "Nuvax Notbeleuchtung - MELDUNG!|012 meldet: Lampe\n\n");

    // The status window: an answer after it was closed opens it anew; a later one replaces the page.
    const QString pdf = folder.file(QStringLiteral("status.pdf"));
    PdfPrinterChoice printer(pdf);
    FrmUnitStatus::showStatus(QStringLiteral("<html><body><b>Erste Seite</b></body></html>"));
    click(FrmUnitStatus::instance(), "cmdClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FrmUnitStatus::instance());
    FrmUnitStatus::showStatus(QStringLiteral("<html><body>Zweite Seite</body></html>"));
    FrmUnitStatus::showStatus(QStringLiteral("<html><body><table><tr><td>Ladestrom</td><td>0,12 A</td></tr>"
                                             "</table>Akku in Ordnung</body></html>"));
    FrmUnitStatus *status = FrmUnitStatus::instance();
    ASSERT_TRUE(status && status->isVisible() && status->windowTitle() == "Gerätestatus");
    EXPECT_EQ(status->findChild<QTextBrowser *>()->toPlainText().trimmed(), "Ladestrom\n0,12 A\nAkku in Ordnung");
    EXPECT_EQ(QList<QAccessible::Role>({QAccessible::queryAccessibleInterface(status)->role(),
                                        QAccessible::queryAccessibleInterface(FrmMeldung::instance())->role(),
                                        QAccessible::queryAccessibleInterface(FrmMeldung::instance()->findChild<QPlainTextEdit *>())->role()}),
              QList<QAccessible::Role>({QAccessible::Window, QAccessible::Window, QAccessible::EditableText}));
    click(status, "cmdPrint");
    EXPECT_TRUE(printer.asked == 1 && QFile::exists(pdf));
}

// Thousands of alerts, some ending in a line break as a contact's description does: the box, a copy
// of it and assistive technology hold each alert and an empty line, its breaks line feeds; the newest
// alert is in view.
TEST_F(StationWindows, ThousandsOfAlertsKeepTheirTextAndTheNewestInView)
{
    installAccessibleWindows();
    QString expected;
    for (int i = 1; i <= 2000; ++i) {
        const QString alert = QStringLiteral("Geräteadresse: %1\r\nGerätetyp: QOR-TD%2")
                                  .arg(i).arg(i % 3 ? QStringLiteral("\r\nKontakt 1: FEHLER\r\n") : QString());
        FrmMeldung::addAlert(alert);
        expected += QString(alert).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QStringLiteral("\n\n");
    }
    QCoreApplication::processEvents();
    auto *text = FrmMeldung::instance()->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->toPlainText(), expected);
    const QTextCursor newest = text->document()->find(QStringLiteral("Geräteadresse: 2000"));
    ASSERT_FALSE(newest.isNull());
    EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect(newest)));
    EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect()));
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(text);
    ASSERT_TRUE(reader && reader->textInterface());
    EXPECT_EQ(reader->textInterface()->text(0, reader->textInterface()->characterCount()), expected);
    EXPECT_EQ(std::pair(reader->text(QAccessible::Value), reader->text(QAccessible::Name)), std::pair(expected, QString("Meldungen")));
    text->selectAll();
    text->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
}
