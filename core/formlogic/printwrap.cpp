#include "core/formlogic/printwrap.h"

#include <algorithm>

namespace {
constexpr int kMeasureLimit = 1000;
constexpr double kMarginMm = 25.0;
} // namespace

PrintLine measurePrintLine(const std::function<double(int)> &widthMm, double printableWidthMm)
{
    PrintLine line;
    int fits = kMeasureLimit;
    for (int i = 1; i <= kMeasureLimit; ++i) {
        const double w = widthMm(i);
        if (line.marginSpaces == 0 && w > kMarginMm)
            line.marginSpaces = i;
        if (w > printableWidthMm) {
            fits = i - 1;
            break;
        }
    }
    line.lineLength = std::max(1, fits - line.marginSpaces);
    return line;
}

QStringList wrapForPrint(const QString &text, const PrintLine &line)
{
    const QString margin(line.marginSpaces, u' ');
    const int length = std::max(1, line.lineLength);
    QStringList printed;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(u"\r\n"); end >= 0; end = text.indexOf(u"\r\n", start)) {
        QStringView rest = QStringView(text).mid(start, end - start);
        while (rest.size() > length) {
            printed << margin + rest.left(length).toString();
            rest = rest.mid(length);
        }
        printed << margin + rest.toString();
        start = end + 2;
    }
    if (start < text.size())
        printed << text.mid(start);
    return printed;
}
