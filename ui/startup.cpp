#include "ui/startup.h"

#include "core/configsections.h"
#include "core/startoptions.h"
#include "core/stationview.h"
#include "core/tasksfile.h"
#include "core/unitregistry.h"
#include "device/comsettings.h"
#include "device/statuspages.h"
#include "device/tasktable.h"
#include "ui/mainwindow.h"
#include "ui/programend.h"

std::unique_ptr<MainWindow> startStation(const QStringList &arguments,
                                         const std::function<void(MainWindow &)> &windowBuilt)
{
    readStartOptions(arguments);
    initTasks();
    initStatusPages();
    loadUnits(false);
    loadTasks(false);

    // Only now the window: a log line written while the files were read must
    // not build it early with lists that miss what came after.
    auto window = std::make_unique<MainWindow>();
    installView(window.get());
    if (windowBuilt)
        windowBuilt(*window);
    window->load();
    // A logout or shutdown closes the station in order from here on.
    auto *termination = new TerminationSignals(window.get());
    QObject::connect(termination, &TerminationSignals::terminationRequested, window.get(),
                     &MainWindow::terminate);
    window->showAtStart(startOptions().startMinimized, startOptions().startMaximized);

    loadComSettings();
    loadAutoPruefungConfig();
    return window;
}
