#pragma once
// Answers the printer choice with a PDF file, so a test reads back what was printed.
#include "ui/printerchoice.h"

#include <QPrinter>
#include <QString>

class PdfPrinterChoice : public PrinterChoice
{
public:
    explicit PdfPrinterChoice(QString path) : m_path(std::move(path)) { installPrinterChoice(this); }
    ~PdfPrinterChoice() override { installPrinterChoice(nullptr); }

    bool choose(QPrinter &printer, QWidget *) override
    {
        ++asked;
        if (cancel)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_path);
        return true;
    }

    bool cancel = false;
    int asked = 0;

private:
    QString m_path;
};
