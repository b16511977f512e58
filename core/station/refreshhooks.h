#pragma once
// Displays that the core must refresh but does not build: the task list and the
// automatic-test settings belong to the task scheduler and the automatic test.
// Those install their refresh here when they start; unset hooks do nothing.
#include <functional>

struct RefreshHooks
{
    std::function<void()> fillTaskList;
    std::function<void()> aktualisiereAPAnzeige;
};

RefreshHooks &refreshHooks();

inline void runHook(const std::function<void()> &hook)
{
    if (hook)
        hook();
}
