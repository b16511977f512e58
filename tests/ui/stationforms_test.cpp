#include "core/station/stationsettings.h"
#include "support/pdfprinterchoice.h"
#include "support/qtprint.h"
#include "support/tempappfolder.h"
#include "ui/forms/frmmeldung.h"
#include "ui/forms/frmunitstatus.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

struct StationForms : ::testing::Test
{
    ~StationForms() override
    {
        delete FrmMeldung::instance();
        delete FrmUnitStatus::instance();
        settings() = StationSettings{};
    }
    TempAppFolder folder;
};

} // namespace

TEST_F(StationForms, AlertsGatherInOneWindowOnTopCaptionedWithTheInstance)
{
    settings().instanzname = QStringLiteral("Klinik Süd");
    FrmMeldung::addAlert(QStringLiteral("007 meldet: Netzausfall\r\nKontakt 1"));
    FrmMeldung *window = FrmMeldung::instance();
    ASSERT_TRUE(window);
    FrmMeldung::addAlert(QStringLiteral("S05 meldet: Akku"));
    EXPECT_EQ(FrmMeldung::instance(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nuvax (Klinik Süd) - MELDUNG!"));
    EXPECT_EQ(window->findChild<QPlainTextEdit *>()->toPlainText(),
              QStringLiteral("007 meldet: Netzausfall\nKontakt 1\n\nS05 meldet: Akku\n\n"));

    // "&OK" ends the window and its text; the next alert opens an empty one.
    window->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FrmMeldung::instance());
    settings().instanzname.clear();
    FrmMeldung::addAlert(QStringLiteral("012 meldet: Lampe"));
    EXPECT_EQ(FrmMeldung::instance()->windowTitle(), QStringLiteral("Nuvax Notbeleuchtung - MELDUNG!"));
    EXPECT_EQ(FrmMeldung::instance()->findChild<QPlainTextEdit *>()->toPlainText(),
              QStringLiteral("012 meldet: Lampe\n\n"));
}

TEST_F(StationForms, TheStatusWindowShowsTheLatestPageAndPrintsIt)
{
    const QString pdf = folder.file(QStringLiteral("status.pdf"));
    PdfPrinterChoice printer(pdf);
    FrmUnitStatus::showStatus(QStringLiteral("<html><body><b>Erste Seite</b></body></html>"));
    FrmUnitStatus::instance()->findChild<QPushButton *>(QStringLiteral("cmdClose"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FrmUnitStatus::instance());

    // An answer after the window was closed opens it anew; a later one replaces the page.
    FrmUnitStatus::showStatus(QStringLiteral("<html><body>Zweite Seite</body></html>"));
    FrmUnitStatus::showStatus(QStringLiteral("<html><body><table><tr><td>Ladestrom</td><td>0,12 A</td></tr>"
                                             "</table>Akku in Ordnung</body></html>"));
    FrmUnitStatus *window = FrmUnitStatus::instance();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Gerätestatus"));
    EXPECT_TRUE(window->isVisible());
    window->findChild<QPushButton *>(QStringLiteral("cmdPrint"))->click();
    EXPECT_EQ(printer.asked, 1);

    QProcess toText;
    toText.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(toText.waitForFinished(10000));
    const QString printed = QString::fromUtf8(toText.readAllStandardOutput());
    for (const char *text : {"Ladestrom", "0,12 A", "Akku in Ordnung"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(text))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("Zweite Seite")));
}
