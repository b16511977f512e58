#include "ui/printerchoice.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class DialogPrinterChoice : public PrinterChoice
{
public:
    bool choose(QPrinter &printer, QWidget *parent) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

DialogPrinterChoice dialogChoice;
PrinterChoice *installed = &dialogChoice;

} // namespace

PrinterChoice &appPrinterChoice() { return *installed; }
void installPrinterChoice(PrinterChoice *choice) { installed = choice ? choice : &dialogChoice; }
