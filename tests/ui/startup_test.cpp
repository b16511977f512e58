#include "ui/startup.h"

#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"
#include "ui/mainwindow.h"
#include "ui/programend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct StartupFixture : ::testing::Test
{
    StartupFixture()
    {
        installProgramEnd([this](int code) { endedWith = code; });
        // No serial device on a test machine: the port must fail the same way everywhere.
        qputenv("NUVAX_COM2", folder.file(QStringLiteral("no-such-port")).toUtf8());
    }
    ~StartupFixture() override
    {
        window.reset();
        installView(nullptr);
        installProgramEnd({});
        qunsetenv("NUVAX_COM2");
    }

    std::unique_ptr<MainWindow> start(const QStringList &extra = {})
    {
        return startStation(QStringList{QStringLiteral("nuvax")} + extra);
    }

    // Lets the event loop run until the program has ended, at most two seconds.
    bool waitForEnd()
    {
        QElapsedTimer timer;
        timer.start();
        while (endedWith < 0 && timer.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return endedWith >= 0;
    }

    TempAppFolder folder;
    ScriptedPrompts prompts;
    int endedWith = -1;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(StartupFixture, WindowIsShownOnceAndMaxWinsOverMin)
{
    window = start({QStringLiteral("/min"), QStringLiteral("x/maxi")});
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(&appView(), static_cast<StationView *>(window.get()));
}

TEST_F(StartupFixture, SigtermClosesInOrderWithoutTheBoardQuestion)
{
    window = start();
    int boardSaves = 0;
    window->setBoardHooks({[] { return true; }, [&] { ++boardSaves; }});
    const int boxesAtStart = prompts.shown.size();

    std::raise(SIGTERM);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(endedWith, 0);
    EXPECT_EQ(prompts.shown.size(), boxesAtStart);
    EXPECT_EQ(boardSaves, 0);
}
