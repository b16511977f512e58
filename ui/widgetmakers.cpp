#include "ui/widgetmakers.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

namespace {

class SelectAllOnFocus : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, static_cast<QLineEdit *>(watched), &QLineEdit::selectAll);
        return false;
    }
};

} // namespace

QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString plainToolTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

void nameAfterLabel(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    field->setAccessibleName(label->text());
}

QLabel *labelFor(const QString &caption, QWidget *field, QWidget *parent)
{
    QLabel *label = plainLabel(caption, parent);
    nameAfterLabel(label, field);
    return label;
}

void selectAllOnFocus(QLineEdit *field) { field->installEventFilter(new SelectAllOnFocus(field)); }

QLabel *wrappedText(const QString &text, QWidget *parent)
{
    QLabel *label = plainLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel *headingText(const QString &text, QWidget *parent)
{
    QLabel *label = wrappedText(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
