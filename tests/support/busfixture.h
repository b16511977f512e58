#pragma once
// A station with a fake clock, a simulated bus on port 1 (opened), a fresh program folder, a recording
// window and scripted boxes; its tables are emptied before and after.
#include "support/qtprint.h"

#include "core/logs/generallog.h"
#include "core/platform/codepage.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autoteststate.h"
#include "device/autotest/timertick.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/pages/statuspages.h"
#include "device/tasks/taskrunner.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

// Monday, 7 March 2011.
inline QDateTime at(int h, int m, int s = 0, int ms = 0) { return QDateTime(QDate(2011, 3, 7), QTime(h, m, s, ms)); }

class BusFixture : public ::testing::Test
{
protected:
    explicit BusFixture(const QDateTime &start = at(11, 59, 58)) : clock(start)
    {
        reset();
        initStatusPages();
        serialLink().openComPort(1);
        bus.clearWrites();
    }
    ~BusFixture() override { reset(); }

    static void reset()
    {
        resetAutoTestRun(), startSchedules(), resetBusClaims();
        settings() = StationSettings{};
        units().clear(), tasks().clear(), serialLink().reset();
    }
    // A unit on the bus and in the registry.
    SimUnit &unit(int adr, int deviceType)
    {
        SimUnit &u = bus.addUnit(adr, deviceType);
        addUnit(adr, u.message.left(12));
        return u;
    }
    // Ticks as the window's timer does, on each whole second, until the clock reaches `until`. The
    // general log's entries are written meanwhile, as its own timer would.
    void tickUntil(const QDateTime &until)
    {
        while (clock.localNow() < until) {
            timerTick();
            flushGeneralLog();
            bus.advance(1000 - clock.localNow().time().msec());
        }
    }
    // Frames with their times in ms from `from`.
    QList<QPair<qint64, QString>> framesFrom(qint64 from) const
    {
        QList<QPair<qint64, QString>> out;
        for (const SimWrite &w : bus.writeLog())
            out.append({w.atMs - from, w.text});
        return out;
    }
    // The one box shown (a failure if there were none or several).
    ScriptedPrompts::Shown box() const { EXPECT_EQ(prompts.shown.size(), 1); return prompts.shown.value(0); }
    QString logText(const QString &name) const { return codepage::decode(folder.read("logs/" + name)); }
    // The general log's entries oldest first, without their time stamps.
    QStringList logEntries() const
    {
        QStringList out;
        for (const QString &line : logText("Allgemein.log").split("\r\n", Qt::SkipEmptyParts))
            out.prepend(line.mid(line.indexOf("] ") + 2));
        return out;
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
};
