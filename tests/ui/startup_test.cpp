#include "ui/startup.h"

#include "core/files/tasksfile.h"
#include "device/link/portlock.h"
#include "ui/dialogprompts.h"
#include "ui/trayicon.h"
#include "ui/uitest.h"

#include <cerrno>
#include <csignal>

namespace {

struct StartupTest : UiTest
{
    // No serial device on a test machine: the port must fail the same way everywhere.
    StartupTest() { qputenv("NUVAX_COM2", folder.file(QStringLiteral("no-such-port")).toUtf8()); }
    ~StartupTest() override
    {
        window.reset();
        qunsetenv("NUVAX_COM2");
    }
    void start(const QStringList &extra = {}, const std::function<void(MainWindow &)> &windowBuilt = {})
    {
        window = startStation(QStringList{QStringLiteral("nuvax")} + extra, windowBuilt);
    }
    bool waitForEnd() { return waitUntil([this] { return endedWith >= 0; }, 2000); }
    bool shown(const QString &textStart) const { return !boxes().filter(u'|' + textStart).isEmpty(); }
    std::unique_ptr<MainWindow> window;
};

} // namespace

// Shown once, maximised over minimised, the port error and the configuration shown, a cut "Units.dat"
// leaving the task list filled; SIGTERM then saves the registry without the board question.
TEST_F(StartupTest, WindowCaptionPortErrorCutUnitsFileAndSigtermSavingTheRegistry)
{
    const QString name = QStringLiteral("Halle 3 ") + QString(60, u'x');
    folder.write(QStringLiteral("Nuvax.ini"), "[Program]\r\nInstanzname=" + name.toLatin1() + "\r\n");
    addUnit(5, QStringLiteral("005S00203060"));
    ASSERT_TRUE(saveUnits(false));
    folder.write(QStringLiteral("Units.dat"), folder.read(QStringLiteral("Units.dat")).left(3000));
    TaskRecord &task = tasks().at(1);
    task.belegt = task.aktiv = true;
    task.beschreibung = QStringLiteral("Flurlicht aus");
    task.taskId = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    ASSERT_TRUE(saveTasks(false));
    units().clear();
    tasks().clear();
    start({QStringLiteral("/min"), QStringLiteral("x/maxi")});
    EXPECT_TRUE(shown(QStringLiteral("Beim Laden der Geräteliste")));
    const QTreeWidgetItem *row = child<QTreeWidget>(window.get(), "lvTaskListe")->topLevelItem(0);
    EXPECT_EQ(row ? row->text(1).trimmed() : QString(), QStringLiteral("Flurlicht aus"));
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible() && window->isMaximized() && window->page(4)->isVisible() && !settings().portOk);
    EXPECT_EQ(&appView(), static_cast<StationView *>(window.get()));
    EXPECT_TRUE(shown(QStringLiteral("Fehler beim Öffnen der Schnittstelle: ")) && window->selectedTab() == 5);
    // The tray keeps the first 63 characters of the caption.
    const QString caption = QStringLiteral("Nuvax PC-Zentrale - ") + name;
    EXPECT_EQ(std::pair(window->windowTitle(), window->trayIcon().tip()), std::pair(caption, caption.left(63)));
    EXPECT_TRUE(window->trayIcon().isTrayIconShown());
    EXPECT_EQ(child<QLabel>(window.get(), "lblInstanzName")->text(), name);

    addUnit(7, QStringLiteral("007S00203060"));
    units().at(7).state = kStateFault;
    int boardSaves = 0;
    window->setBoardHooks({[] { return true; }, [&] { return ++boardSaves > 0; }, [] {}, {}});
    const qsizetype boxesAtStart = prompts.shown.size();
    std::raise(SIGTERM);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(std::tuple(endedWith, prompts.shown.size(), boardSaves), std::tuple(0, boxesAtStart, 0));
    units().clear();
    ASSERT_TRUE(loadUnits(false));
    EXPECT_EQ(units().at(7).state, kStateFault);
}

TEST_F(StartupTest, ASignalDuringTheStartIsTakenOnceEverythingIsLoaded)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    qputenv("NUVAX_COM2", bus.path().toUtf8());
    const QByteArray ini = "[COM]\r\nPort=1\r\nComMode=1\r\n[AP]\r\nSignalAdr=7\r\n";
    folder.write(QStringLiteral("Nuvax.ini"), ini);
    // Raised before the port is opened, whose handshake lets events run.
    start({}, [](MainWindow &) { std::raise(SIGTERM); });
    EXPECT_EQ(std::pair(bus.wire(), endedWith), std::pair(QStringLiteral("K2Connect@"), -1));
    EXPECT_TRUE(waitForEnd() && endedWith == 0);
    EXPECT_FALSE(QFile::exists(portLockFile(bus.path()))) << "the port is given back before the end";
    // The signal settings written at the end are the ones read, not the defaults.
    EXPECT_TRUE(folder.read(QStringLiteral("Nuvax.ini")).startsWith(ini));
}

// The operator closes the station, "Formulare.dat" refuses the save and its box waits for the OK; a logout's
// SIGTERM closes the box, the saves after it run without waiting, the port is given back and the station ends.
TEST_F(StartupTest, ASignalWhileTheCloseWaitsInItsSaveBoxEndsTheStation)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    qputenv("NUVAX_COM2", bus.path().toUtf8());
    folder.write(QStringLiteral("Nuvax.ini"), "[COM]\r\nPort=1\r\nComMode=1\r\n");
    DialogPrompts dialogs;
    start({}, [&dialogs](MainWindow &built) { dialogs.setParent(&built); });
    ASSERT_EQ(bus.wire(), QStringLiteral("K2Connect@"));
    QDir().mkpath(folder.file(QStringLiteral("Formulare.dat")));
    QString boxUp;
    QTimer::singleShot(300, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            boxUp = box->text();
        std::raise(SIGTERM);
    });
    // A box the signal leaves standing fails the test instead of holding it.
    QTimer::singleShot(5000, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    installPrompts(&dialogs);
    QElapsedTimer closing;
    closing.start();
    window->close();
    installPrompts(&prompts);
    EXPECT_LT(closing.elapsed(), 4000);
    EXPECT_TRUE(boxUp.startsWith(QStringLiteral("Beim Speichern der Formulare")) && endedWith == 0);
    EXPECT_FALSE(QFile::exists(portLockFile(bus.path())));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Units.dat"))));
}

// Signals the event loop has not yet served neither hold the station in the handler nor change errno under
// the code they interrupt; they are taken once it listens.
TEST(TerminationSignalsTest, ABurstOfSignalsNeitherBlocksNorTouchesErrno)
{
    TerminationSignals termination;
    int unchanged = 0;
    for (int i = 0; i < 20000; ++i) {
        errno = EDOM;
        std::raise(SIGTERM);
        unchanged += errno == EDOM;
    }
    EXPECT_EQ(unchanged, 20000);
    bool requested = false;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] { requested = true; });
    termination.listen();
    EXPECT_TRUE(waitUntil([&] { return requested; }, 2000));
}
