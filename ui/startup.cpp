#include "ui/startup.h"

#include "core/files/configsections.h"
#include "core/files/tasksfile.h"
#include "core/platform/apppath.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/prompts.h"
#include "core/station/startoptions.h"
#include "core/station/stationview.h"
#include "device/link/comsettings.h"
#include "device/autotest/timertick.h"
#include "device/messages/automessages.h"
#include "device/pages/statuspages.h"
#include "device/tasks/tasktable.h"
#include "ui/mainwindow.h"
#include "ui/programend.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kRefusalShownMs = 6000;
}

bool refuseMissingProgramFolder()
{
    const QString folder = missingProgramFolder();
    if (folder.isEmpty())
        return false;
    const QString text = QStringLiteral("Der in NUVAX_HOME genannte Programmordner '") + folder
                         + QStringLiteral("' ist kein vorhandener Ordner. Die Zentrale wird nicht gestartet.");
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    // Without a screen nobody could close the box. With one, the box closes
    // itself after a while: a start from a script or at login ends by itself.
    const QString platform = QGuiApplication::platformName();
    if (platform != u"offscreen" && platform != u"minimal") {
        QMessageBox box(QMessageBox::Critical, kProgramTitle, text, QMessageBox::Ok);
        QTimer::singleShot(kRefusalShownMs, &box, &QMessageBox::accept);
        box.exec();
    }
    return true;
}

std::unique_ptr<MainWindow> startStation(const QStringList &arguments,
                                         const std::function<void(MainWindow &)> &windowBuilt)
{
    // Nobody need be at the screen: a file that fails to load is told without
    // waiting for an OK, and the station comes up all the same.
    UnattendedScope unattended;
    // A logout or shutdown during the start must not kill the station unsaved.
    auto *termination = new TerminationSignals;
    readStartOptions(arguments);
    initTasks();
    startSchedules();
    initStatusPages();
    loadUnits(false);
    loadTasks(false);

    // Only now the window: a log line written while the files were read must
    // not build it early with lists that miss what came after.
    auto window = std::make_unique<MainWindow>();
    installView(window.get());
    if (windowBuilt)
        windowBuilt(*window);
    termination->setParent(window.get());
    QObject::connect(termination, &TerminationSignals::terminationRequested, window.get(),
                     &MainWindow::terminate);
    window->load();
    window->showAtStart(startOptions().startMinimized, startOptions().startMaximized);

    installAutoMessageCheck();
    loadComSettings();
    loadAutoPruefungConfig();
    // Only now is everything loaded that the close saves.
    termination->listen();
    return window;
}
