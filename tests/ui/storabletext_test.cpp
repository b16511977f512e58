#include "ui/storabletext.h"

#include "core/platform/oledate.h"
#include "device/tasks/tasktable.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardpage.h"
#include "ui/dialogprompts.h"
#include "ui/forms/frmaddtask.h"
#include "ui/forms/frmeditunitdescription.h"
#include "ui/forms/frmformulareigenschaften.h"
#include "ui/uitest.h"

#include <QtEndian>

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

// Every field whose text reaches a file, the board's name box among them; the files hold what was shown.
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
        box->accept();
    });
    child<QAction>(window.boardPage()->commands().formularMenu(), "mnuFrmSpeichern")->trigger();
    installPrompts(&prompts);
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        shown << typeInto(child<QLineEdit>(box, "Text1")) << typeInto(child<QLineEdit>(box, "Text2"));
        click(box, "Command1");
    });
    QString name, beschreibung;
    EXPECT_TRUE(FrmFormularEigenschaften::showDialog(&window, name, beschreibung));
    EXPECT_EQ(shown, QStringList(6, QStringLiteral("ä€")));
    EXPECT_EQ(folder.read(QStringLiteral("Formulare.dat")).split('\n').value(4), "\"\xE4\x80\"\r");
    click(&description, "Command1");
    EXPECT_TRUE(folder.read(QStringLiteral("Units.dat")).contains("\"\xE4\x80" + QByteArray(1198, ' ') + '"'));
    click(&task, "Command5");
    // A stored time with seconds: "OK" on the unchanged task stores the minute the editor showed.
    tasks().at(1).uhrzeit = QDateTime(oledate::zero().date(), QTime(7, 30, 45));
    FrmAddTask unchanged(&window);
    ASSERT_TRUE(unchanged.loadTask(tasks().at(1).taskId));
    click(&unchanged, "Command5");
    const QByteArray file = folder.read(QStringLiteral("Tasks.dat"));
    EXPECT_EQ(file.mid(4, 255), QByteArray("\xE4\x80").leftJustified(255, ' '));
    EXPECT_DOUBLE_EQ(qFromLittleEndian<double>(file.constData() + 259), 7.5 / 24);
}
