#pragma once
// device/pages: one unit's status as an HTML page: the templates
// (statuspages.h), the values (pagevalues.h), one filler per device type
// (pagefillers.h), and the operator's query below, called by the overview and
// the expert panel; the page goes to the status window.
//
// The operator's status query of one unit: the unit is asked for its status,
// a device type other than the recorded one is recorded in the registry, and
// the decoded page goes to the status window.
#include <QString>

constexpr int kUnitStatusShown = 0;
constexpr int kUnitStatusRequestFailed = -1;
constexpr int kUnitStatusNoPage = 1;

// kUnitStatusShown, or kUnitStatusRequestFailed with the request's reason (also
// when the bus is taken by a test, a poll, a task or another query), or
// kUnitStatusNoPage when the answer's device type has no page. The reason is
// written only on a failure and only when asked for; the caller shows it.
int showUnitStatus(int addr, QString *reason = nullptr);
