#include "ui/pages/logbookpage.h"

#include "support/pdfprinterchoice.h"
#include "ui/uitest.h"

#include <cmath>

using LogbookPrint = UiTest;

// The print wraps hard at the printable width behind a margin of just over 25 mm, on every line.
TEST_F(LogbookPrint, ATestLogShowsInItsColoursAndPrintsWithMarginAndHardWrapping)
{
    MainWindow window;
    installView(&window);
    QByteArray log = "Autopr\xFC" "fung\r\nGer\xE4t 001: Status OK\r\nGer\xE4t 002: Status Fehler\r\n\r\n";
    const QByteArray longLine = QByteArray("ABCDEFGHI0ABCDEFGHI1ABCDEFGHI2ABCDEFGHI3ABCDEFGHI4").repeated(4);
    log += longLine + "\r\n";
    for (int i = 1; i <= 80; ++i)
        log += "Zeile " + QByteArray::number(i) + "\r\n";
    folder.write(QStringLiteral("logs/AutoTest_2011_03_07.log"), log);
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

    PdfPrinterChoice choice(folder.file(QStringLiteral("log.pdf")));
    click(&window, "cmdLogDrucken");
    ASSERT_EQ(choice.asked, 1);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), folder.file(QStringLiteral("log.pdf")), QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_EQ(printed.count(QStringLiteral("<page ")), 2);

    // Every printed word with its left and right edge in points; the long line's pieces apart.
    struct Word { double left, right; QString text; };
    QList<Word> words, pieces;
    static const QRegularExpression wordTag(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    for (auto it = wordTag.globalMatch(printed); it.hasNext();) {
        const auto m = it.next();
        (m.captured(3).contains(u"HI") ? pieces : words).append({m.captured(1).toDouble(), m.captured(2).toDouble(),
                                                                 m.captured(3)});
    }
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const QRectF paper = pdf.pageLayout().paintRect(QPageLayout::Point);
    // The long line comes in pieces of L letters; the last piece holds the rest.
    ASSERT_EQ(pieces.size(), 3);
    const qsizetype length = pieces[0].text.size();
    EXPECT_EQ(pieces[1].text.size(), length);
    EXPECT_EQ(pieces[0].text + pieces[1].text + pieces[2].text, QString::fromLatin1(longLine));
    const double letter = (pieces[0].right - pieces[0].left) / double(length);
    // The margin: as many blanks as make the first width over 25 mm.
    const int margin = int(std::ceil((25.0 / 25.4 * 72.0 + 0.01) / letter));
    // The line: the most letters, margin included, that fit the printable width.
    EXPECT_LE((margin + length) * letter, paper.width());
    EXPECT_GT((margin + length + 1) * letter, paper.width());
    const QStringList lineStarts{QStringLiteral("Autoprüfung"), QStringLiteral("Gerät"), QStringLiteral("Zeile")};
    for (const Word &w : words + pieces) {
        if (lineStarts.contains(w.text) || w.text.contains(u"HI")) {
            EXPECT_NEAR(w.left - paper.left(), margin * letter, 0.5) << qPrintable(w.text);
        }
    }

    // A cancelled choice prints nothing and says nothing.
    QFile::remove(folder.file(QStringLiteral("log.pdf")));
    choice.cancel = true;
    click(&window, "cmdLogDrucken");
    EXPECT_EQ(choice.asked, 2);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("log.pdf"))));
    EXPECT_TRUE(prompts.shown.isEmpty());
    installView(nullptr);
}
