#pragma once
// The traffic light of the home page: the state of the whole installation.
#include "core/station/stationview.h"

// Shows the state with its title and explanation on the home page.
void showSystemStatus(SystemStatus status);
