#include "ui/storabletext.h"

#include "core/platform/codepage.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace {

class StorableText : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &text, int &) const override
    {
        if (codepage::holds(text))
            return Acceptable;
        // The field undoes the change itself; the beep tells the operator why nothing came.
        QApplication::beep();
        return Invalid;
    }
};

} // namespace

void takeOnlyStorableText(QLineEdit *field) { field->setValidator(new StorableText(field)); }
