#include "core/station/refreshhooks.h"

RefreshHooks &refreshHooks()
{
    static RefreshHooks instance;
    return instance;
}
