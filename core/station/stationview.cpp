#include "core/station/stationview.h"

namespace {
StationView headless;
StationView *installed = &headless;
} // namespace

StationView &appView() { return *installed; }
void installView(StationView *view) { installed = view ? view : &headless; }
