#pragma once
// The fixed-pitch font of the fields where columns of bus characters must line up.
#include <QFont>

QFont fixedPitchFont();
