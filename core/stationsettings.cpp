#include "core/stationsettings.h"

StationSettings &settings()
{
    static StationSettings instance;
    return instance;
}
