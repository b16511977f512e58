#include "ui/widgetmakers.h"

#include <QLabel>
#include <QPushButton>

QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void nameAfterLabel(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    field->setAccessibleName(label->text());
}

QLabel *labelFor(const QString &caption, QWidget *field, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    nameAfterLabel(label, field);
    return label;
}

QLabel *wrappedText(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
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
