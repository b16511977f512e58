#pragma once
// A cause that unattended work may meet again and again (a line that breaks
// every minute, a file that stays unwritable after every test) is told in one
// box that stands until its OK: each occurrence puts its own text and time
// into it and the number of occurrences since the box came up. After the OK
// the next occurrence opens it again and counts from one. An operator's own
// action gets the plain box that waits for the OK.
#include "core/station/prompts.h"

class RecurringNotice
{
public:
    // key names the box among the station's notices; countLabel names the
    // occurrences in the plural ("Unterbrechungen").
    RecurringNotice(const QString &key, Prompts::Icon icon, const QString &countLabel);

    void tell(const QString &text, const QString &title);
    // A finding of the same source that is no occurrence of the cause: it
    // takes the box with its time, and the count starts again.
    void note(const QString &text, const QString &title);
    // The cause has changed or is over: a standing box takes the new state
    // with its time and icon, and the count starts again. No box comes up for it.
    void update(const QString &text, const QString &title, Prompts::Icon icon);
    // The cause goes on with other figures: a standing box takes the new text
    // with its time, and the count goes on. No box comes up for it.
    void amend(const QString &text, const QString &title);
    // Whether the box is up, its OK not yet pressed.
    bool stands() const;

private:
    void show(const QString &text, const QString &title, const QString &footer, Prompts::Icon icon);
    QString countFooter() const;

    QString m_key;
    Prompts::Icon m_icon;
    QString m_countLabel;
    int m_count = 0;
};
