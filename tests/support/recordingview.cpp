#include "support/recordingview.h"

RecordingView::RecordingView() { installView(this); }
RecordingView::~RecordingView() { installView(nullptr); }
