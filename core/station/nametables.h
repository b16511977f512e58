#pragma once
// The names the station shows for weekdays, months, schedule intervals and
// battery durations, and the colour of each unit state.
#include "core/station/stationview.h"

#include <QStringList>
#include <array>

// Monday first: index = weekday with Monday 0.
const QStringList &weekDayNames();
// January first.
const QStringList &monthNames();
// Indexed by the schedule interval: 0 yearly .. 3 daily.
const QStringList &intervalNames();
// Indexed by the battery duration in hours (0, 1 or 3; 2 is empty).
const QStringList &akkuLaufzeitNames();
// Indexed by unit state: unknown yellow, fault red, OK green.
const std::array<WinColor, 3> &statusColors();
