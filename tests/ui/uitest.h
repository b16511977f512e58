#pragma once
// What the window tests share: an empty station in a fresh program folder, scripted
// boxes, the program end recorded; BusUiTest adds a fake clock over a simulated bus.
#include "support/qtprint.h"

#include "core/board/formularrecord.h"
#include "core/files/taskrecord.h"
#include "core/platform/codepage.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/refreshhooks.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autoteststate.h"
#include "device/autotest/timertick.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/pages/statuspages.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"
#include "ui/mainwindow.h"
#include "ui/programend.h"

#include <QtWidgets>
#include <gtest/gtest.h>

inline void resetStation()
{
    units().clear();
    tasks().clear();
    formulare().clear();
    settings() = StationSettings{};
    refreshHooks() = RefreshHooks{};
    serialLink().reset();
    resetBusClaims();
    resetAutoTestRun();
    startSchedules();
}

template <typename T = QWidget> T *child(const QObject *in, const char *name)
{
    T *found = in->findChild<T *>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void click(const QObject *in, const char *name) { child<QAbstractButton>(in, name)->click(); }

// One mouse event; mouseClick sends a press and a release.
inline void mouse(QWidget *target, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), {});
    QApplication::sendEvent(target, &event);
}
inline void mouseClick(QWidget *target, Qt::MouseButton button, QPoint pos)
{
    mouse(target, QEvent::MouseButtonPress, button, pos);
    mouse(target, QEvent::MouseButtonRelease, button, pos);
}

// Scripted boxes that also note who owned the bus while each waited for the operator.
struct BusNotingPrompts : ScriptedPrompts
{
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        owners.append(busOwner());
        return ScriptedPrompts::message(text, title, icon, buttons);
    }
    QList<BusUser> owners;
};

// One record of "Units.dat", its texts as given.
inline QByteArray unitRecord(int state, bool exists, const QString &description, const QString &frame,
                             const QString &errorText)
{
    return codepage::encode(QStringLiteral("%1\r\n%2\r\n\"%3\"\r\n\"%4\"\r\n\"%5\"\r\n")
                                .arg(state).arg(exists ? "#TRUE#" : "#FALSE#", description, frame, errorText));
}

// A key pressed and released on the control that has the focus in target, or on target.
inline void key(QWidget *target, int code, const QString &text = {}, bool autoRepeat = false)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, code, Qt::NoModifier, text, autoRepeat);
        QCoreApplication::sendEvent(target->focusWidget() ? target->focusWidget() : target, &event);
    }
}

// Lets events run until done or ms have passed; false on the timeout.
inline bool waitUntil(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return done();
}

// An exchange that waits lets the test act at every pump of its wait.
inline void duringWaits(FakeWaits &waits, const std::function<void()> &act, const std::function<void()> &run)
{
    const auto busPump = waits.pumpHook();
    waits.setPumpHook([&] { busPump(); act(); });
    run();
    waits.setPumpHook(busPump);
}

struct UiTest : ::testing::Test
{
    UiTest()
    {
        resetStation();
        installProgramEnd([this](int code) { endedWith = code; });
    }
    ~UiTest() override
    {
        installView(nullptr);
        installProgramEnd({});
        resetStation();
    }
    // Every box so far as "title|text", or "title|text|icon" with the icon's number
    // (None 0, Critical 1, Question 2, Exclamation 3, Information 4).
    QStringList boxes(bool icons = false) const
    {
        QStringList texts;
        for (const auto &shown : prompts.shown)
            texts << shown.title + u'|' + shown.text + (icons ? u'|' + QString::number(int(shown.icon)) : QString());
        return texts;
    }

    TempAppFolder folder;
    BusNotingPrompts prompts;
    int endedWith = -1;
};

struct BusUiTest : UiTest
{
    ~BusUiTest() override { serialLink().reset(); }  // while the bus behind the link still lives
    FakeClock clock;
    FakeWaits waits{clock};
    SimulatedBus bus{clock, waits};
};

// The main window as the station's view for the test's length.
template <typename Base = UiTest> struct WindowUiTest : Base
{
    WindowUiTest() { installView(&window); }
    ~WindowUiTest() override { installView(nullptr); }
    MainWindow window;
};
