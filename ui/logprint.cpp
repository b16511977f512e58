#include "ui/logprint.h"

#include "core/formlogic/printwrap.h"
#include "core/platform/waits.h"
#include "ui/printerchoice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace {
constexpr double kMmPerInch = 25.4;
} // namespace

void printLog(const QString &text, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!appPrinterChoice().choose(printer, parent))
        return;
    appWaits().pumpEvents();

    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);
    const double dotsPerMm = printer.resolution() / kMmPerInch;
    const PrintLine line = measurePrintLine(
        [&](int letters) { return metrics.horizontalAdvance(QString(letters, u'X')) / dotsPerMm; },
        printer.pageLayout().paintRect(QPageLayout::Millimeter).width());

    const double pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    double baseline = metrics.ascent();
    for (const QString &printed : wrapForPrint(text, line)) {
        if (baseline + metrics.descent() > pageHeight) {
            if (!printer.newPage())
                break;
            baseline = metrics.ascent();
            appWaits().pumpEvents();
        }
        painter.drawText(QPointF(0, baseline), printed);
        baseline += metrics.lineSpacing();
    }
    painter.end();
}
