#pragma once
// The alert window's text box read by assistive technology as the operator
// reads and copies it: its line separators are line feeds there too.
#include <QString>

class QAccessibleInterface;
class QObject;

// The accessible interface of an AlertTextBox; nullptr for anything else.
QAccessibleInterface *accessibleAlertText(const QString &key, QObject *object);
