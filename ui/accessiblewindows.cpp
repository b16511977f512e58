#include "ui/accessiblewindows.h"

#include "ui/accessiblealerttext.h"
#include "ui/forms/frmdebug.h"
#include "ui/forms/frmexpert.h"
#include "ui/forms/frmmeldung.h"
#include "ui/forms/frmunitstatus.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

const QMetaObject *const kPlainWindows[] = {&FrmDebug::staticMetaObject, &FrmExpert::staticMetaObject,
                                             &FrmMeldung::staticMetaObject, &FrmUnitStatus::staticMetaObject};

QAccessibleInterface *plainWindow(const QString &key, QObject *object)
{
    for (const QMetaObject *window : kPlainWindows)
        if (object->metaObject() == window && key == QLatin1String(window->className()))
            return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleWindows()
{
    QAccessible::installFactory(plainWindow);
    QAccessible::installFactory(accessibleAlertText);
}
