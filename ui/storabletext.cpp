#include "ui/storabletext.h"

#include "core/platform/codepage.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace {

class TypedText : public QValidator
{
public:
    TypedText(bool oneLine, bool inCodePage, QObject *parent)
        : QValidator(parent), m_oneLine(oneLine), m_inCodePage(inCodePage)
    {
    }

    State validate(QString &text, int &position) const override
    {
        if (m_oneLine)
            joinLines(text, position);
        if (!m_inCodePage || codepage::holds(text))
            return Acceptable;
        // The field undoes the change itself; the beep tells the operator why nothing came.
        QApplication::beep();
        return Invalid;
    }

private:
    // A cell pasted from a spreadsheet ends in CR LF; each line break, of
    // whatever kind, becomes one space, the cursor staying behind the same text.
    static void joinLines(QString &text, int &position)
    {
        if (!text.contains(u'\r') && !text.contains(u'\n'))
            return;
        position = int(oneLine(text.left(position)).size());
        text = oneLine(text);
    }

    static QString oneLine(QString text)
    {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    }

    bool m_oneLine;
    bool m_inCodePage;
};

} // namespace

void takeOnlyStorableText(QLineEdit *field) { field->setValidator(new TypedText(true, true, field)); }

void takeOnlySendableText(QLineEdit *field) { field->setValidator(new TypedText(false, true, field)); }

void keepOnOneLine(QLineEdit *field) { field->setValidator(new TypedText(true, false, field)); }
