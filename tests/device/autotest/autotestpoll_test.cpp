#include "support/automationfixture.h"

#include "core/platform/textutil.h"
#include "core/registry/unitsfile.h"
#include "device/autotest/autotestpoll.h"
#include "device/autotest/autotestschedule.h"
#include "device/messages/devicetypes.h"

#include <tuple>

namespace {

const QString kFunctionLog = QStringLiteral("AutoTest_2011_03_07.log");

QStringList requestsIn(const QList<QPair<qint64, QString>> &frames)
{
    QStringList out;
    for (const auto &f : frames) {
        if (f.second.endsWith(QStringLiteral("S00")))
            out << f.second;
    }
    return out;
}

// The lines a test writes below the header of its log.
QString details(const QString &log)
{
    const QString mark = QStringLiteral("Details der Prüfung:\r\n--------------------\r\n\r\n");
    const qsizetype i = log.indexOf(mark);
    return i < 0 ? QString() : log.mid(i + mark.size());
}

class FunctionTestRun : public AutomationTest
{
};

TEST_F(FunctionTestRun, FromItsMinuteToTheResultSignal)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    settings().sigResultAktiv = true;
    settings().signalAdr = 50;
    unit(3, kType0701);
    unit(5, kType0401).silent = true;
    units().at(5).description = fixedWidth(QStringLiteral("Treppenhaus"), kDescriptionWidth);
    unit(7, kType0901).answerAtTry = 2;
    // The operator presses the duration test's button while the units are polled.
    int started = -1;
    QString reason;
    view.onStatus = [&](const QString &text) {
        if (text == QStringLiteral("Frage Adresse 3 ab...")) {
            kannTestStarten(kArtDauertest, &reason);
            started = starteAutoPruefung(kArtDauertest);
        }
    };

    tickUntil(at(12, 0));
    const qint64 t0 = clock.monotonicMs();
    timerTick();
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Abfrage in 60 Sekunden"));
    tickUntil(at(12, 1, 7, 999));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Abfrage in 1 Sekunden"));
    tickUntil(at(12, 1, 30));

    const auto frames = framesFrom(t0);
    const QList<QPair<qint64, QString>> start{{0, "\nALLP00"},    {700, "\nALLi00"},  {1400, "\nALLP00"},
                                              {2800, "\nALLi00"}, {4200, "\nALLP00"}, {6300, "\nALLi00"}};
    ASSERT_GE(frames.size(), 16);
    EXPECT_EQ(frames.mid(0, 6), start);
    // The countdown runs from the end of the broadcasts: 8.4 s, then 60 whole seconds.
    EXPECT_GE(frames[6].first, 68000);
    EXPECT_LT(frames[6].first, 68100);
    EXPECT_EQ(requestsIn(frames), QStringList({"\n003S00", "\n005S00", "\n005S00", "\n005S00", "\n007S00",
                                               "\n007S00"}));
    const qint64 end = frames[12].first;
    const QList<QPair<qint64, QString>> finish{
        {end, "\nALLp00"}, {end + 500, "\nALLp00"}, {end + 1000, "\nALLp00"}, {end + 1500, "\n050E00"}};
    EXPECT_EQ(frames.mid(12), finish);

    EXPECT_EQ(details(logText(kFunctionLog)),
              QStringLiteral("Abfrage der Geräte gestartet am: 07.03.2011 12:01\r\n"
                             "\r\n"
                             "Adresse 003\r\n\tTyp: Pallex\r\n\tStatus: OK\r\n\r\n"
                             "Adresse 005\r\n\tTyp: QOR07\r\n\tStatus: FEHLER\r\n"
                             "\tBeschreibung: Treppenhaus\r\n"
                             "\tFEHLER: Keine oder fehlerhafte Antwort\r\n\r\n\r\n"
                             "Adresse 007\r\n\tTyp: Ivenor\r\n\tStatus: OK\r\n\r\n"
                             "\r\n\r\n"
                             "Autoprüfung beendet am: 07.03.2011 12:01\r\n"));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));
    EXPECT_GE(view.labelColorRefreshes, 1);
    EXPECT_FALSE(pruefungIsRunning());
    EXPECT_EQ(started, 1);
    EXPECT_EQ(reason, QStringLiteral("Der Betriebsdauertest kann momentan nicht gestartet werden, da "
                                     "gerade die Geräte der Prüfung abgefragt werden."));

    // The results are in "Units.dat" at once, not only after an orderly exit.
    units().clear();
    ASSERT_TRUE(loadUnits(false));
    for (auto [adr, state, text] : {std::tuple{3, kStateOk, "STATUS: OK"},
                                    std::tuple{5, kStateFault, "FEHLER: Keine oder fehlerhafte Antwort"},
                                    std::tuple{7, kStateOk, "STATUS: OK"}}) {
        EXPECT_EQ(units().at(adr).state, state) << adr;
        EXPECT_EQ(trimNull(units().at(adr).errorText).trimmed(), QString::fromUtf8(text)) << adr;
    }
}

TEST_F(FunctionTestRun, ResultSignalNeedsItsSwitchAndAChosenUnit)
{
    unit(4, kType0701).silent = true;
    units().at(4).state = kStateFault;  // faulty from an earlier test counts too
    for (auto [aktiv, adr] : {std::pair{false, 9}, std::pair{true, 0}, std::pair{true, 9}}) {
        settings().sigResultAktiv = aktiv;
        settings().signalAdr = adr;
        sendeErgebnisSignal();
    }
    EXPECT_EQ(bus.writes(), QStringList({"\n009E00"}));
}

class DurationTestRun : public AutomationTest, public ::testing::WithParamInterface<int>
{
protected:
    DurationTestRun() : AutomationTest(at(4, 59, 58)) {}
};

TEST_P(DurationTestRun, PollsAfterTheBatteryDurationAndEndsWithTheLongWait)
{
    const int akku = GetParam();
    settings().dauertest = {true, 2, 0, 0, QTime(5, 0)};
    settings().akkulaufzeit = akku;
    settings().sigResultAktiv = true;
    settings().signalAdr = 50;
    unit(3, kType0403);
    units().at(3).state = kStateOk;
    unit(5, kType0501).silent = true;
    unit(7, kType2002);

    tickUntil(at(5, 0));
    const qint64 t0 = clock.monotonicMs();
    tickUntil(at(5, 0, 1));
    if (akku > 0) {
        EXPECT_EQ(view.panels.value(2), QStringLiteral("Gerätebfrage in 60 Minuten"));
        tickUntil(at(5, 59, 59, 999));
        EXPECT_EQ(view.panels.value(2), QStringLiteral("Gerätebfrage in 1 Minuten"));
    }
    tickUntil(at(5 + akku, 1, 30));

    const auto frames = framesFrom(t0);
    const QList<QPair<qint64, QString>> start{{0, "\nALLT00"},    {500, "\nALLi00"},  {1000, "\nALLT00"},
                                              {1500, "\nALLi00"}, {2000, "\nALLT00"}, {2500, "\nALLi00"}};
    ASSERT_EQ(frames.size(), 16);
    EXPECT_EQ(frames.mid(0, 6), start);
    // Without a battery duration the poll follows the broadcasts in the same tick.
    const qint64 pollAt = akku == 0 ? 3000 : 3600000;
    EXPECT_GE(frames[6].first, pollAt);
    EXPECT_LT(frames[6].first, pollAt + 100);
    EXPECT_EQ(requestsIn(frames), QStringList({"\n005S00", "\n005S00", "\n005S00", "\n007S00"}));
    const qint64 e = frames[10].first;
    const QList<QPair<qint64, QString>> finish{{e, "\nALLP00"},          {e + 500, "\nALLP00"},
                                               {e + 1000, "\nALLP00"},   {e + 61500, "\nALLR00"},
                                               {e + 62000, "\nALLR00"},  {e + 62500, "\nALLR00"}};
    EXPECT_EQ(frames.mid(10), finish);

    const QString hour = QStringLiteral("0%1").arg(5 + akku);
    EXPECT_EQ(details(logText(kFunctionLog)),
              QStringLiteral("Abfrage gestartet am: 07.03.2011 %1:00\r\n"
                             "Adresse 005\r\n\tTyp:\t\t\tWNT3-H\r\n\tStatus:\t\tFEHLER\r\n"
                             "\tBeschreibung: \r\n"
                             "\tFEHLER: Keine oder fehlerhafte Antwort\r\n\r\n\r\n"
                             "Adresse 007\r\n\tTyp: Dravik-Regler\r\n\tStatus: OK\r\n\r\n"
                             "\r\n\r\n"
                             "Autoprüfung beendet am: 07.03.2011 %1:01\r\n")
                  .arg(hour));
    EXPECT_EQ(units().at(3).state, kStateOk);  // not polled by a duration test
    EXPECT_EQ(units().at(5).state, kStateFault);
    EXPECT_FALSE(dauertestIsRunning());
}

INSTANTIATE_TEST_SUITE_P(Akkulaufzeit, DurationTestRun, ::testing::Values(0, 1));

} // namespace
