#include "ui/dialogprompts.h"

#include "ui/storabletext.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                              QMessageBox::Question, QMessageBox::Warning,
                                              QMessageBox::Information};
    return icons[static_cast<int>(icon)];
}

// A box repeats names from the files and texts the operator typed; one that
// looks like markup is shown as it stands, never read as markup.
void showTextAsStored(QMessageBox &box) { box.setTextFormat(Qt::PlainText); }

} // namespace

Prompts::Answer DialogPrompts::message(const QString &text, const QString &title, Icon icon,
                                       Buttons buttons)
{
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok: standard = QMessageBox::Ok; break;
    case Buttons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(boxIcon(icon), title.isEmpty() ? kProgramTitle : title, text,
                    standard, m_parent);
    showTextAsStored(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

QString DialogPrompts::input(const QString &prompt, const QString &title, const QString &defaultText, Input kind)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(title.isEmpty() ? kProgramTitle : title);
    box.setLabelText(prompt);
    box.findChild<QLabel *>()->setTextFormat(Qt::PlainText);
    box.setTextValue(defaultText);
    if (kind == Input::Stored)
        takeOnlyStorableText(box.findChild<QLineEdit *>());
    else
        keepOnOneLine(box.findChild<QLineEdit *>());
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

void DialogPrompts::notice(const QString &text, const QString &title, Icon icon, const QString &key)
{
    const QString caption = title.isEmpty() ? kProgramTitle : title;
    if (QMessageBox *standing = key.isEmpty() ? nullptr : m_keyedNotices.value(key).data()) {
        standing->setWindowTitle(caption);
        standing->setIcon(boxIcon(icon));
        standing->setText(text);
        return;
    }
    // Window-modal would block the window under it; a modeless box leaves the
    // tick and the receive path running while it waits for its OK.
    auto *box = new QMessageBox(boxIcon(icon), caption, text, QMessageBox::Ok, m_parent);
    showTextAsStored(*box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    if (!key.isEmpty())
        m_keyedNotices.insert(key, box);
}

bool DialogPrompts::noticeStands(const QString &key) { return !m_keyedNotices.value(key).isNull(); }

QString DialogPrompts::openFile(const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, QString(), filter, nullptr,
                                        QFileDialog::HideNameFilterDetails);
}
