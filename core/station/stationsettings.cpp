#include "core/station/stationsettings.h"

StationSettings &settings()
{
    static StationSettings instance;
    return instance;
}
