#include "ui/operatorinputhold.h"

#include <QApplication>
#include <QWidget>

namespace {

const char kLetThrough[] = "passesOperatorInputHold";

bool isOperatorInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
        return true;
    case QEvent::Close:
        return event->spontaneous();
    default:
        return false;
    }
}

} // namespace

OperatorInputHold::OperatorInputHold(QObject *parent) : QObject(parent) {}

OperatorInputHold::~OperatorInputHold() { setHeld(false); }

void OperatorInputHold::setHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    if (held) {
        m_modalAtStart = QApplication::activeModalWidget();
        // Installed last, so it sees the input before every other filter.
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

void OperatorInputHold::letThrough(QWidget *widget) { widget->setProperty(kLetThrough, true); }

bool OperatorInputHold::eventFilter(QObject *watched, QEvent *event)
{
    if (!isOperatorInput(event) || watched->property(kLetThrough).toBool())
        return false;
    // The window system's events reach a widget through its window handle;
    // they are judged at the widget, which may be one that passes. A shortcut
    // may belong to an action.
    if (!watched->isWidgetType())
        return event->type() == QEvent::Shortcut;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_modalAtStart && static_cast<QWidget *>(watched)->window() == modal)
        return false;
    // A close request left accepted would close the window all the same; a
    // click or key left ignored would travel on to the parents.
    event->setAccepted(event->type() != QEvent::Close);
    return true;
}
