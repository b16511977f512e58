#include "support/qtprint.h"

#include "core/stationsettings.h"
#include "core/unitaddress.h"
#include "core/unitregistry.h"
#include "device/busclaim.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "device/unitsearch.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// What the wizard would show, with a hook that acts on a status text as an operator would.
struct RecordedProgress : SearchProgress
{
    void showSearchStatus(const QString &text) override
    {
        statuses.append(text);
        if (onStatus)
            onStatus(text);
    }
    void addSearchInfo(const QString &text) override { rows.append(QStringLiteral("[INFO] ") + text); }
    void addFoundUnit(int address, const QString &name) override
    {
        rows.append(QString::number(address) + u' ' + name);
    }
    QStringList statuses;
    QStringList rows;
    std::function<void(const QString &)> onStatus;
};

class UnitSearchTest : public ::testing::Test
{
protected:
    UnitSearchTest()
    {
        settings() = StationSettings{};
        units().clear();
        serialLink().openComPort(1);
        bus.clearWrites();
    }
    ~UnitSearchTest() override
    {
        units().clear();
        serialLink().reset();
    }

    void registerUnit(int address, const QString &description)
    {
        addUnit(address, sampleMessage(kType0203, formatUnitAddress(address)).left(12));
        units().at(address).description = fixedWidth(description, kDescriptionWidth);
        units().at(address).state = kStateFault;
    }

    // Frames with the time since the first one.
    QStringList timedFrames() const
    {
        QStringList out;
        const QList<SimWrite> log = bus.writeLog();
        for (const SimWrite &w : log)
            out.append(QString::number(w.atMs - log.first().atMs) + u' ' + w.text.mid(1));
        return out;
    }

    // The registered addresses as "Units.dat" holds them.
    QList<int> registeredInFile()
    {
        units().clear();
        EXPECT_TRUE(loadUnits(false));
        QList<int> out;
        for (int a = 1; a <= kMaxUnitAddress; ++a)
            if (units().at(a).exists)
                out.append(a);
        return out;
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    SimulatedBus bus{clock, waits};
    RecordedProgress progress;
    UnitSearch search;
};

TEST_F(UnitSearchTest, FindSearchAsksSpecialAddressesFirstThenTheRangeWithTwoTries)
{
    const QString s02 = sampleMessage(kType0403, QStringLiteral("S02"));
    bus.addUnit(1002, s02);
    bus.addUnit(997, kType0203).stopAfter = 5;             // begins, then falls silent
    bus.addUnit(998, kType0901).answerAtTry = 2;           // slow: answers the second try
    bus.addUnit(999, sampleMessage(kType0203, QStringLiteral("123")));  // answers for another address
    // The operator presses Stop while S04 is about to be asked.
    progress.onStatus = [this](const QString &text) {
        if (text == QStringLiteral("Adresse: S04/99   Versuch #1"))
            search.stopPhase();
    };

    SearchOptions options;
    options.specialAddresses = true;
    options.startAddress = 997;
    ASSERT_EQ(search.run(options, progress), UnitSearch::Outcome::Finished);
    EXPECT_FALSE(search.running());

    // At 300 baud a character takes 33.3 ms. A silent address costs 2000 ms, then
    // 3000 ms; five characters and silence 167 + 501 ms, then 167 + 2001 ms. After
    // an answer the next frame waits for the line to be quiet for 500 ms.
    EXPECT_EQ(timedFrames(), QStringList({
        QStringLiteral("0 S01F00"), QStringLiteral("2000 S01F00"),
        QStringLiteral("5000 S02F00"),
        QStringLiteral("6135 S03F00"), QStringLiteral("8135 S03F00"),
        QStringLiteral("11135 997F00"), QStringLiteral("11803 997F00"),
        QStringLiteral("13971 998F00"), QStringLiteral("15971 998F00"),
        QStringLiteral("17872 999F00"), QStringLiteral("18807 999F00"),
    })) << qPrintable(timedFrames().join(u'|'));
    EXPECT_EQ(progress.rows, QStringList({
        QStringLiteral("[INFO] Suche nach Sonderadressen"),
        QStringLiteral("[INFO] ('Stop' wählen um nach anderen Geräten zu suchen)"),
        QStringLiteral("1002 ") + getDeviceTypeName(s02),
        QStringLiteral("[INFO] Suche nach anderen Geräten"),
        QStringLiteral("998 ") + getDeviceTypeName(sampleMessage(kType0901)),
    }));
    EXPECT_EQ(progress.statuses.mid(0, 3), QStringList({QStringLiteral("Adresse: S01/99   Versuch #1"),
                                                        QStringLiteral("Adresse: S01/99   Versuch #2"),
                                                        QStringLiteral("Adresse: S02/99   Versuch #1")}));
    EXPECT_EQ(progress.statuses.last(), QStringLiteral("Adresse: 999/999   Versuch #2"));
}

TEST_F(UnitSearchTest, FertigRegistersWhatWasFoundAndRemovesOnlyWhatWasAsked)
{
    // STATUS search from 5, stopped at 8: 1..4 and 8..999 were never asked.
    for (int a : {2, 6, 7, 9})
        registerUnit(a, QStringLiteral("Flur %1").arg(a));
    bus.addUnit(6, kType0404);
    bus.addUnit(5, kType0203);
    progress.onStatus = [this](const QString &text) {
        if (text.startsWith(QStringLiteral("Adresse: 8/")))
            search.stopPhase();
    };
    SearchOptions options;
    options.statusCommand = true;
    options.startAddress = 5;
    search.run(options, progress);
    EXPECT_EQ(bus.writes().first(), QStringLiteral("\n005S00"));
    search.commit();

    EXPECT_EQ(registeredInFile(), QList<int>({2, 5, 6, 9}));  // 7 asked and silent: removed
    EXPECT_EQ(units().at(6).frame, sampleMessage(kType0404, QStringLiteral("006")).left(12));
    EXPECT_EQ(units().at(6).description.trimmed(), QStringLiteral("Flur 6"));
    EXPECT_EQ(units().at(6).state, kStateUnknown);
    EXPECT_EQ(units().at(2).state, kStateFault);

    // Only new units: registered addresses are not even asked, nothing is removed.
    bus.clearWrites();
    bus.addUnit(998, kType0203);
    progress.onStatus = {};
    progress.statuses.clear();
    options.mode = SearchMode::NurNeueGeraete;
    options.startAddress = 995;
    units().at(996).exists = false;
    registerUnit(996, QStringLiteral("alt"));
    search.run(options, progress);
    EXPECT_EQ(bus.writes(), QStringList({QStringLiteral("\n995S00"), QStringLiteral("\n995S00"),
                                         QStringLiteral("\n997S00"), QStringLiteral("\n997S00"),
                                         QStringLiteral("\n998S00"), QStringLiteral("\n999S00"),
                                         QStringLiteral("\n999S00")}));
    EXPECT_FALSE(progress.statuses.join(u'|').contains(QStringLiteral("996/")));
    search.commit();
    EXPECT_EQ(registeredInFile(), QList<int>({2, 5, 6, 9, 996, 998}));
}

TEST_F(UnitSearchTest, RefusedOrBrokenSearchesLeaveTheUnitsTheyDidNotAsk)
{
    registerUnit(3, QStringLiteral("Keller"));
    registerUnit(900, QStringLiteral("Dach"));
    SearchOptions options;

    {
        const BusClaim test(BusUser::Background);
        EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::BusBusy);
    }
    serialLink().reset();
    EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::PortClosed);
    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_TRUE(progress.statuses.isEmpty());

    // The line breaks while address 5 waits for its answer.
    serialLink().openComPort(1);
    progress.onStatus = [this](const QString &text) {
        if (text == QStringLiteral("Adresse: 5/999   Versuch #2"))
            bus.hangUp();
    };
    EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::Finished);
    EXPECT_EQ(progress.statuses.last(), QStringLiteral("Adresse: 5/999   Versuch #2"));
    search.commit();
    EXPECT_EQ(registeredInFile(), QList<int>({900}));
}

} // namespace
