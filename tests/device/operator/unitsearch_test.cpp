#include "support/busfixture.h"

#include "core/registry/unitaddress.h"
#include "core/registry/unitsfile.h"
#include "device/operator/unitsearch.h"

namespace {

// What the wizard would show; onStatus acts on a status text as an operator would.
struct RecordedProgress : SearchProgress
{
    void showSearchStatus(const QString &text) override
    {
        statuses.append(text);
        if (onStatus)
            onStatus(text);
    }
    void addSearchInfo(const QString &text) override { rows.append("[INFO] " + text); }
    void addFoundUnit(int address, const QString &name) override { rows.append(QString::number(address) + ' ' + name); }
    QStringList statuses, rows;
    std::function<void(const QString &)> onStatus;
};

class UnitSearchTest : public BusFixture
{
protected:
    static void registerUnit(int address)
    {
        addUnit(address, sampleMessage(kType0203, formatUnitAddress(address)).left(12));
        units().at(address).description = fixedWidth("Flur", kDescriptionWidth);
        units().at(address).state = kStateFault;
    }
    void stopAt(const QString &status)
    {
        progress.onStatus = [this, status](const QString &text) { text == status ? search.stopPhase() : void(); };
    }
    // The registered addresses as "Units.dat" holds them.
    static QList<int> registeredInFile()
    {
        units().clear();
        EXPECT_TRUE(loadUnits(false));
        QList<int> out;
        for (int a = 1; a <= kMaxUnitAddress; ++a)
            if (units().at(a).exists)
                out.append(a);
        return out;
    }

    RecordedProgress progress;
    UnitSearch search;
};

TEST_F(UnitSearchTest, FindSearchAsksSpecialAddressesFirstThenTheRangeWithTwoTries)
{
    const QString s02 = sampleMessage(kType0403, "S02");
    bus.addUnit(1002, s02);
    bus.addUnit(997, kType0203).stopAfter = 5;         // begins, then falls silent
    bus.addUnit(998, kType0901).answerAtTry = 2;       // answers the second try
    bus.addUnit(999, sampleMessage(kType0203, "123")); // answers for another address
    stopAt("Adresse: S04/99   Versuch #1");            // ends only the special addresses
    SearchOptions options;
    options.specialAddresses = true, options.startAddress = 997;
    ASSERT_EQ(search.run(options, progress), UnitSearch::Outcome::Finished);
    EXPECT_FALSE(search.running());

    // At 300 baud a character takes 33.3 ms. A silent address costs 2000 ms, then
    // 3000 ms; five characters and silence 167 + 501 ms, then 167 + 2001 ms. After
    // an answer the next frame waits for the line to be quiet for 500 ms.
    QStringList frames;
    for (const auto &[atMs, text] : framesFrom(bus.writeLog().first().atMs))
        frames.append(QString::number(atMs) + ' ' + text.mid(1));
    EXPECT_EQ(frames, QStringList({"0 S01F00", "2000 S01F00", "5000 S02F00", "6135 S03F00", "8135 S03F00",
                                   "11135 997F00", "11803 997F00", "13971 998F00", "15971 998F00", "17872 999F00",
                                   "18807 999F00"}));
    EXPECT_EQ(progress.rows, QStringList({"[INFO] Suche nach Sonderadressen",
                                          "[INFO] ('Stop' wählen um nach anderen Geräten zu suchen)",
                                          "1002 " + getDeviceTypeName(s02), "[INFO] Suche nach anderen Geräten",
                                          "998 " + getDeviceTypeName(sampleMessage(kType0901))}));
    EXPECT_EQ(progress.statuses.mid(0, 3), QStringList({"Adresse: S01/99   Versuch #1", "Adresse: S01/99   Versuch #2",
                                                        "Adresse: S02/99   Versuch #1"}));
    EXPECT_EQ(progress.statuses.last(), "Adresse: 999/999   Versuch #2");
}

TEST_F(UnitSearchTest, FertigRegistersWhatWasFoundAndRemovesOnlyWhatWasAsked)
{
    // STATUS search from 5, stopped at 8: 1..4 and 8..999 were never asked.
    for (int a : {2, 6, 7, 9})
        registerUnit(a);
    bus.addUnit(6, kType0404);
    bus.addUnit(5, kType0203);
    stopAt("Adresse: 8/999   Versuch #1");
    SearchOptions options;
    options.statusCommand = true, options.startAddress = 5;
    search.run(options, progress);
    search.commit();
    EXPECT_EQ(registeredInFile(), QList<int>({2, 5, 6, 9})); // 7 asked and silent: removed
    EXPECT_EQ(std::tuple(units().at(6).frame, units().at(6).description.trimmed(), units().at(6).state, units().at(2).state),
              std::tuple(sampleMessage(kType0404, "006").left(12), "Flur", kStateUnknown, kStateFault));

    // Only new units: a registered address is not even asked, nothing is removed.
    bus.clearWrites();
    bus.addUnit(998, kType0203);
    progress.onStatus = {};
    options.mode = SearchMode::NurNeueGeraete, options.startAddress = 996;
    registerUnit(997);
    search.run(options, progress);
    EXPECT_EQ(bus.writes(), QStringList({"\n996S00", "\n996S00", "\n998S00", "\n999S00", "\n999S00"}));
    search.commit();
    EXPECT_EQ(registeredInFile(), QList<int>({2, 5, 6, 9, 997, 998}));
}

TEST_F(UnitSearchTest, RefusedOrBrokenSearchesLeaveTheUnitsTheyDidNotAsk)
{
    registerUnit(3);
    registerUnit(900);
    SearchOptions options;
    {
        const BusClaim test(BusUser::Background);
        EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::BusBusy);
    }
    serialLink().reset();
    EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::PortClosed);
    EXPECT_TRUE(bus.writes().isEmpty() && progress.statuses.isEmpty());

    // The line breaks while address 5 is asked again.
    serialLink().openComPort(1);
    progress.onStatus = [this](const QString &text) { text == "Adresse: 5/999   Versuch #2" ? bus.hangUp() : void(); };
    EXPECT_EQ(search.run(options, progress), UnitSearch::Outcome::Finished);
    EXPECT_EQ(progress.statuses.last(), "Adresse: 5/999   Versuch #2");
    search.commit();
    EXPECT_EQ(registeredInFile(), QList<int>({900}));
}

} // namespace
