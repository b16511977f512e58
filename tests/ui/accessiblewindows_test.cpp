#include "ui/accessiblewindows.h"
#include "ui/forms/frmmeldung.h"
#include "ui/forms/frmunitstatus.h"

#include <QAccessible>
#include <QLineEdit>
#include <gtest/gtest.h>

// A test driver finds the plain-widget windows by role and caption, and the
// widgets inside them keep their own roles.
TEST(AccessibleWindows, PlainWidgetWindowsAreWindowsAndTheirFieldsStayFields)
{
    installAccessibleWindows();
    FrmMeldung::addAlert(QStringLiteral("Meldung"));
    FrmUnitStatus::showStatus(QStringLiteral("<html><body>Seite</body></html>"));
    for (QWidget *window : {static_cast<QWidget *>(FrmMeldung::instance()),
                            static_cast<QWidget *>(FrmUnitStatus::instance())})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
    QLineEdit field;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&field)->role(), QAccessible::EditableText);
    delete FrmMeldung::instance();
    delete FrmUnitStatus::instance();
}
