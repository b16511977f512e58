#include "core/refreshhooks.h"

RefreshHooks &refreshHooks()
{
    static RefreshHooks instance;
    return instance;
}
