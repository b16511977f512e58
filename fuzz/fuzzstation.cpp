#include "fuzzstation.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

FuzzStation &FuzzStation::get()
{
    static int argc = 1;
    static char name[] = "nuvax-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static FuzzStation station;
    return station;
}

void fuzzCheck(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n", what);
    std::abort();
}
