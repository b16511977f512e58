#include "ui/dialogprompts.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The station ends only through its main window's orderly close, also
    // while that window is hidden in the tray and a message box goes away.
    app.setQuitOnLastWindowClosed(false);
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    DialogPrompts prompts;
    installPrompts(&prompts);
    const auto window = startStation(QCoreApplication::arguments(),
                                     [&prompts](MainWindow &built) { prompts.setParent(&built); });
    return app.exec();
}
