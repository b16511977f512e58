#pragma once
// The traffic light of the home page: the state of the whole installation.
#include "core/station/stationview.h"

// Fault as soon as one registered unit 1..999 is faulty; unknown when one of
// them is untested; OK otherwise, an empty registry included.
SystemStatus computeSystemStatus();
// Computes the state and shows it with its title and explanation.
void updateSystemStatus();
