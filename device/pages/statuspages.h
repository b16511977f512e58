#pragma once
// The HTML pages that show one unit's decoded status. Each template is a whole
// page in which every value to be shown stands as the placeholder "{F}"; the
// page fillers put the values in, in the order the placeholders stand.
// The templates are built once at start and never change afterwards.
#include <QString>

inline const QString kPageSlot = QStringLiteral("{F}");

struct StatusPageTemplates
{
    QString statusPageTemplate2001;
    QString statusPageTemplate2002;
    QString statusPageTemplate0501;
    QString statusPageTemplate0203; // also the page of type 0204
    QString statusPageTemplate0404;
    QString statusPageTemplate0401;
    QString statusPageTemplate0403;
    QString statusPageTemplate0402;
    QString statusPageTemplate1000;
    QString statusPageTemplate0901;
    QString statusPageTemplate0701;
    QString statusPageTemplate0601; // the same text as 0701
};

// Empty until initStatusPages has run.
const StatusPageTemplates &statusPages();
void initStatusPages();
