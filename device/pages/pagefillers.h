#pragma once
// One page filler per device type: each decodes a status message of its type
// into the values of its status page and shows the page in the status window.
// The message has passed the grammar of its type before it comes here.
#include <QString>

void showStatusPage0203(const QString &message);
void showStatusPage0204(const QString &message);
void showStatusPage2001(const QString &message);
void showStatusPage0404(const QString &message);
void showStatusPage0403(const QString &message);
void showStatusPage0701(const QString &message);
void showStatusPage0401(const QString &message);
void showStatusPage0402(const QString &message);
void showStatusPage0901(const QString &message);
void showStatusPage0501(const QString &message);
void showStatusPage1000(const QString &message);
void showStatusPage2002(const QString &message);
void showStatusPage0601(const QString &message);

using PageFiller = void (*)(const QString &message);
// The filler of a device type 1 to 13; nullptr for any other number.
PageFiller pageFillerFor(int deviceType);
