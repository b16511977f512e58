#pragma once
// Keeps the port open without the operator: the station may run unattended for
// weeks. A line that breaks (an adapter pulled out, a write that fails) is told
// once, in the general log and in a box that waits for nobody; a break while
// that box still stands goes into it, counted, instead of into a box of its
// own. While the port is not open, for whatever reason, the tick opens it
// again with the current settings about once a minute, until it is back.
// Opening it from the configuration page stays as it is, with its box on
// failure.
#include <QString>

// The link closed the port because its line broke; reason is the driver's text.
void reportPortLost(const QString &reason);

// Another program reads on the open port: the line stands, but what that
// program takes never reaches the station. Told once for each port, in the
// general log and in the port's box.
void reportOtherReader();

// Called by the tick before its schedules: a port that is not open is opened
// again once a minute has passed since it was first found closed or last
// tried, unless somebody owns the bus or the station is ending. A failed try
// says nothing; a successful one is logged.
void keepPortOpen();

// Forgets the pending try (a fresh link).
void resetPortWatch();
