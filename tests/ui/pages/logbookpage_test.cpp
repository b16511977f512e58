#include "ui/pages/logbookpage.h"

#include "support/pdfprinterchoice.h"
#include "ui/uitest.h"

using LogbookPrint = WindowUiTest<>;

TEST_F(LogbookPrint, ATestLogShowsInItsColoursAndPrintsOnlyWhenAPrinterIsChosen)
{
    folder.write(QStringLiteral("logs/AutoTest_2011_03_07.log"),
                 "Autopr\xFC" "fung\r\nGer\xE4t 001: Status OK\r\nGer\xE4t 002: Status Fehler\r\n\r\nZeile 1\r\n");
    folder.write(QStringLiteral("logs/Allgemein.log"), "Start\r\n");
    window.load();
    auto *list = child<QListWidget>(&window, "lstLogbuchListe");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);   // chosen by keyboard: no click needed
    auto *view = child<QPlainTextEdit>(&window, "rtbLogText");
    const auto colourOf = [&](int block) {
        return view->document()->findBlockByNumber(block).begin().fragment().charFormat().foreground().color();
    };
    EXPECT_EQ(view->toPlainText().left(12), QStringLiteral("Autoprüfung\n"));
    EXPECT_EQ(QList<QColor>({colourOf(1), colourOf(2), colourOf(4)}), QList<QColor>({Qt::green, Qt::red, Qt::red}));

    // A cancelled choice prints nothing and says nothing.
    const QString pdf = folder.file(QStringLiteral("log.pdf"));
    PdfPrinterChoice choice(pdf);
    click(&window, "cmdLogDrucken");
    const bool printed = QFile::remove(pdf);
    choice.cancel = true;
    click(&window, "cmdLogDrucken");
    EXPECT_EQ(std::tuple(choice.asked, printed, QFile::exists(pdf), prompts.shown.size()), std::tuple(2, true, false, 0));
}
