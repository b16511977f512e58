#pragma once
// What the automatic-test wizard reads and says: the time typed for a test,
// and the sentence that describes a schedule while it is edited.
#include <QString>
#include <QTime>
#include <optional>

// "H:MM", "HH:MM" or "HH:MM:SS" with hours 0-23 and minutes and seconds 0-59;
// nothing for any other text.
std::optional<QTime> parseScheduleTime(const QString &text);

// The sentence of an interval item 0 (yearly) to 3 (daily) with the weekday,
// month and time as shown; empty when no interval is chosen.
QString scheduleSentence(int intervall, const QString &tag, const QString &monat, const QString &zeit);
