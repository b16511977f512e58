#pragma once
// The station's windows that are plain widgets (status window, alert window,
// terminal, expert panel) are announced to assistive technology as windows, as
// the main window and the dialogs are, so a screen reader or a test driver
// finds them by their caption like any other window. The alert window's text
// is read there as the operator reads it (accessiblealerttext.h).
void installAccessibleWindows();
