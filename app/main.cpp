#include "core/logs/generallog.h"
#include "core/platform/apppath.h"
#include "core/platform/stationguard.h"
#include "ui/accessiblewindows.h"
#include "ui/dialogprompts.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    // Standard error or output may be a pipe whose reader has gone (a closed
    // terminal, a pager that ended): a write to it fails and is dropped, the
    // station runs on. Qt writes there from its first line.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    if (refuseMissingProgramFolder())
        return 1;
    // A second start on the folder brings the running station's window up and
    // ends before it reads or writes anything of the folder.
    StationGuard guard(getAppPath());
    const StationGuard::Claim claim = guard.claim();
    if (!guard.failure().isEmpty())
        std::fprintf(stderr, "%s\n", guard.failure().toLocal8Bit().constData());
    if (claim != StationGuard::Claim::Station)
        return 0;

    // The station ends only through its main window's orderly close, also
    // while that window is hidden in the tray and a message box goes away.
    app.setQuitOnLastWindowClosed(false);
    // The dialogs' own buttons and the port's error descriptions in German, as
    // the station's own texts are.
    QTranslator qtTranslators[2];
    const char *catalogs[2] = {"qtbase", "qtserialport"};
    for (int i = 0; i < 2; ++i)
        if (qtTranslators[i].load(QLocale(QLocale::German), QString::fromLatin1(catalogs[i]),
                                  QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(&qtTranslators[i]);

    installAccessibleWindows();
    DialogPrompts prompts;
    installPrompts(&prompts);
    const auto window = startStation(QCoreApplication::arguments(),
                                     [&prompts](MainWindow &built) { prompts.setParent(&built); });
    QObject::connect(&guard, &StationGuard::showRequested, window.get(), &MainWindow::bringToFront);
    // A station that runs without the folder's whole guard keeps why in its log.
    if (!guard.failure().isEmpty())
        logAllgemein(guard.failure());
    return app.exec();
}
