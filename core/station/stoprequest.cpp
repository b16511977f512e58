#include "core/station/stoprequest.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t requested = 0;
} // namespace

void requestStop() { requested = 1; }
bool stopRequested() { return requested != 0; }
void clearStopRequest() { requested = 0; }
