#pragma once
// Text that comes from outside the station (a unit's message) is written into
// the logs, where a line break or a NUL of its own would forge an entry or
// cut a line. Each control character is written as a visible stand-in instead.
#include <QString>

// The text with every control character written as a plain-ASCII stand-in:
// "<CR>", "<LF>", "<NUL>" and the other names of the C0 controls, "<DEL>",
// and "<0x81>" style for U+0080..U+009F (the bytes the code page leaves
// undefined read as these). Every other character stays as it is.
QString visibleControls(const QString &text);
