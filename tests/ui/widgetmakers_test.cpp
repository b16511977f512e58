#include "ui/widgetmakers.h"

#include "core/files/configsections.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardpage.h"
#include "ui/dialogprompts.h"
#include "ui/forms/frmeditunitdescription.h"
#include "ui/forms/frmformularverwaltung.h"
#include "ui/uitest.h"

namespace {

// What a screen reader reads from a label: the text as the label shows it.
QString shown(QObject *label) { return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name); }

struct PlainText : WindowUiTest<>
{
    // The text of the next box that opens, which is then closed.
    void readNextBox()
    {
        QTimer::singleShot(0, [this] {
            QWidget *box = QApplication::activeModalWidget();
            read << shown(box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")));
            box->close();
        });
    }
    QStringList read;
};

} // namespace

// Names from "Nuvax.ini", "Formulare.dat" and "Units.dat" that look like markup are shown as
// stored: on the home page, above the board and in the boxes that repeat them.
TEST_F(PlainText, MarkupLookingTextsFromTheFilesAreShownAsStored)
{
    folder.write("Nuvax.ini", "[Program]\r\nInstanzname=<b>Halle</b> 3 &amp; Nord\r\n");
    folder.write("Formulare.dat", codepage::encode("\"001;10;20|\"\r\n\"\"\r\n\"\"\r\n#2012-05-03 14:07:00#\r\n"
                                                   "\"<b>Keller</b> Süd\"\r\n800\r\n600\r\n"));
    window.load();
    loadInstanzname();
    window.boardPage()->openFormular(1);
    addUnit(1, sampleMessage(kType0401).left(kFrameWidth));
    units().at(1).errorText = fixedWidth("<b>Akku</b> &lt;leer&gt;", kErrorTextWidth);
    EXPECT_EQ(shown(child<QLabel>(&window, "lblInstanzName")), "<b>Halle</b> 3 &amp; Nord");
    EXPECT_EQ(shown(child<QLabel>(&window, "lblFormCaption")), "<b>Keller</b> Süd");

    DialogPrompts dialogs(&window);
    installPrompts(&dialogs);
    readNextBox();
    window.boardPage()->addAddressLabel(1, 0, 0);
    FrmEditUnitDescription description(&window, 1);
    readNextBox();
    click(&description, "Command3");
    installPrompts(&prompts);
    EXPECT_EQ(read, QStringList({"Die Adresse 001 ist bereits auf dem Formular '<b>Keller</b> Süd vorhanden und kann "
                                 "nicht zweimal erstellt werden!",
                                 "<b>Akku</b> &lt;leer&gt;\r\n"}));

    // A tool tip shows such a text as it stands, and any other text unchanged.
    for (const QString text : {"Nuvax PC-Zentrale - <b>Halle</b>  3 &lt;", "Nuvax PC-Zentrale - Halle & Nord"}) {
        QTextDocument tip;
        tip.setHtml(plainToolTip(text));
        EXPECT_EQ(Qt::mightBeRichText(plainToolTip(text)) ? tip.toPlainText() : plainToolTip(text), text);
    }
}

// A name given with a double quote is stored with a single one, and the board shows what is stored.
TEST_F(PlainText, ABoardShowsItsNameAsStored)
{
    window.load();
    prompts.scriptInput("Keller \"Süd\"");
    child<QAction>(window.boardPage()->commands().formularMenu(), "mnuFrmSpeichern")->trigger();
    EXPECT_EQ(shown(child<QLabel>(&window, "lblFormCaption")), "Keller 'Süd'");
    EXPECT_TRUE(folder.read("Formulare.dat").contains("\"Keller 'S\xFC" "d'\""));
}
