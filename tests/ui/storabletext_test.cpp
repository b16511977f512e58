#include "ui/storabletext.h"

#include "core/platform/oledate.h"
#include "device/tasks/tasktable.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardpage.h"
#include "ui/dialogprompts.h"
#include "ui/forms/frmaddtask.h"
#include "ui/forms/frmdebug.h"
#include "ui/forms/frmeditunitdescription.h"
#include "ui/forms/frmformulareigenschaften.h"
#include "ui/uitest.h"

namespace {

// A paste of "xΩ" into the emptied field, then "Ω", "漢", "ä" and "€" typed: what the field then shows.
QString typeInto(QLineEdit *field)
{
    field->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("xΩ"));
    field->paste();
    for (QChar c : QStringLiteral("Ω漢ä€"))
        key(field, 0, c);
    return field->text();
}

} // namespace

using StorableText = WindowUiTest<>;

// Every field whose text reaches a file, the save's name box among them.
TEST_F(StorableText, FieldsRefuseWhatTheCodePageCannotHoldAndAnUnchangedTaskKeepsTheMinuteShown)
{
    initTasks();
    window.load();
    addUnit(7, sampleMessage(kType0401, QStringLiteral("007")).left(kFrameWidth));
    FrmEditUnitDescription description(&window, 7);
    FrmAddTask task(&window);
    QStringList shown{typeInto(child<QLineEdit>(&description, "txtDescription0")),
                      typeInto(child<QLineEdit>(&task, "txtDescription")), typeInto(child<QLineEdit>(&window, "txtInstanzname"))};
    DialogPrompts dialogs(&window);
    installPrompts(&dialogs);
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        shown << typeInto(box->findChild<QLineEdit *>());
        box->reject();
    });
    child<QAction>(window.boardPage()->commands().formularMenu(), "mnuFrmSpeichern")->trigger();
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        shown << typeInto(child<QLineEdit>(box, "Text1")) << typeInto(child<QLineEdit>(box, "Text2"));
        click(box, "Command2");
    });
    QString name, beschreibung;
    FrmFormularEigenschaften::showDialog(&window, name, beschreibung);
    installPrompts(&prompts);
    EXPECT_EQ(shown, QStringList(6, QStringLiteral("ä€")));

    // A stored time with seconds: "OK" on the unchanged task stores the minute the editor showed.
    click(&task, "Command5");
    tasks().at(1).uhrzeit = QDateTime(oledate::zero().date(), QTime(7, 30, 45));
    FrmAddTask unchanged(&window);
    ASSERT_TRUE(unchanged.loadTask(tasks().at(1).taskId));
    click(&unchanged, "Command5");
    EXPECT_EQ(tasks().at(1).uhrzeit.time(), QTime(7, 30));
}

// A cell pasted from a spreadsheet into a field of one line: each line break becomes one space, the
// cursor behind the pasted text. The terminal's input refuses what the port cannot carry but keeps the
// line breaks the operator puts there on purpose.
TEST_F(StorableText, ALineBreakPastedBecomesASpaceButTheTerminalKeepsItsOwn)
{
    window.load();
    addUnit(7, sampleMessage(kType0401, QStringLiteral("007")).left(kFrameWidth));
    FrmEditUnitDescription description(&window, 7);
    for (QLineEdit *field : {child<QLineEdit>(&description, "txtDescription0"), child<QLineEdit>(&window, "txtInstanzname")}) {
        field->setText(QStringLiteral("AB"));
        field->setCursorPosition(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("Flur\r\n099\n\tTyp\r"));
        field->paste();
        EXPECT_EQ(std::pair(field->text(), field->cursorPosition()), std::pair(QStringLiteral("AFlur 099 \tTyp B"), 15));
    }

    auto *terminal = window.findChild<FrmDebug *>();
    QLineEdit *input = child<QLineEdit>(terminal, "txtEingabe");
    EXPECT_EQ(typeInto(input), QStringLiteral("ä€"));
    click(terminal, "cmdLFeinfuegen");
    click(terminal, "cmdCReinfuegen");
    EXPECT_EQ(input->text(), QStringLiteral("ä€\n\r"));
}
