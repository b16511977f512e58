#pragma once
// The operator's choice of a printer. The windows that print (the status page,
// the logbook) ask here; tests install a choice that prints into a PDF file.
class QPrinter;
class QWidget;

class PrinterChoice
{
public:
    virtual ~PrinterChoice() = default;
    // Sets up printer for the operator's choice; false when cancelled or failed.
    virtual bool choose(QPrinter &printer, QWidget *parent) = 0;
};

PrinterChoice &appPrinterChoice();
// nullptr goes back to the printer dialog.
void installPrinterChoice(PrinterChoice *choice);
