#include "ui/accessiblealerttext.h"

#include "ui/forms/alerttextbox.h"

#include <QAccessibleWidget>

namespace {

class AccessibleAlertText : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleAlertText(AlertTextBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiLine = state.selectableText = true;
        state.editable = !box()->isReadOnly();
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->toPlainText() : QAccessibleWidget::text(t);
    }

    void selection(int index, int *start, int *end) const override
    {
        const QTextCursor cursor = box()->textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *start = selected ? cursor.selectionStart() : 0;
        *end = selected ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            setCursorPosition(cursorPosition());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            box()->setTextCursor(cursorOver(start, end));
    }
    int cursorPosition() const override { return box()->textCursor().position(); }
    void setCursorPosition(int position) override { box()->setTextCursor(cursorOver(position, position)); }

    QString text(int start, int end) const override
    {
        return cursorOver(start, end)
            .selectedText()
            .replace(QChar::ParagraphSeparator, u'\n')
            .replace(QChar::LineSeparator, u'\n');
    }
    int characterCount() const override { return box()->document()->characterCount() - 1; }
    QRect characterRect(int offset) const override
    {
        const QRect caret = box()->cursorRect(cursorOver(offset, offset));
        return QRect(box()->viewport()->mapToGlobal(caret.topLeft()), caret.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorForPosition(box()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int end) override
    {
        setSelection(0, start, end);
        box()->ensureCursorVisible();
    }
    // Plain text: one run without attributes, wherever the offset.
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    AlertTextBox *box() const { return static_cast<AlertTextBox *>(widget()); }
    // A cursor from anchor to position, each kept within the text.
    QTextCursor cursorOver(int anchor, int position) const
    {
        QTextCursor cursor(box()->document());
        cursor.setPosition(qBound(0, anchor, characterCount()));
        cursor.setPosition(qBound(0, position, characterCount()), QTextCursor::KeepAnchor);
        return cursor;
    }
};

} // namespace

QAccessibleInterface *accessibleAlertText(const QString &key, QObject *object)
{
    if (key == QLatin1String(AlertTextBox::staticMetaObject.className()) && object->metaObject() == &AlertTextBox::staticMetaObject)
        return new AccessibleAlertText(static_cast<AlertTextBox *>(object));
    return nullptr;
}
