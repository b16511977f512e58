// The one slow test: the whole program with the real serial port on a
// pseudo-terminal and the real clock runs a daily function test.
#include "ui/startup.h"
#include "ui/uitest.h"

using AutoTestRealTime = UiTest;

TEST_F(AutoTestRealTime, DailyFunctionTestFromItsMinuteToTheResultSignal)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    const QString frame3 = bus.addUnit(3, kType0701).message.left(12);
    SimUnit &late = bus.addUnit(7, kType0901);
    late.answerAtTry = 2;
    const QString frame7 = late.message.left(12);
    addUnit(3, frame3);
    addUnit(7, frame7);
    ASSERT_TRUE(saveUnits(false));
    units().clear();
    qputenv("NUVAX_COM1", bus.path().toUtf8());

    // The test's minute must not end before the first tick.
    if (QTime::currentTime().second() >= 50)
        QThread::msleep(static_cast<unsigned long>(61 - QTime::currentTime().second()) * 1000);
    const QDateTime begin = QDateTime::currentDateTime();
    folder.write("Nuvax.ini", codepage::encode(QStringLiteral("[COM]\r\nPort=0\r\nComMode=0\r\n"
                                                              "[Pruefung]\r\naktiv=True\r\nintervall=3\r\nzeit=")
                                               + begin.toString("HH:mm:00")
                                               + "\r\n[AP]\r\nSignalAdr=50\r\nSigResultAktiv=True\r\n"));

    auto window = startStation({QStringLiteral("nuvax")});
    waitUntil([&] { return bus.wire().contains(QStringLiteral("\n050")); }, 150000);
    const QByteArray unitsFile = folder.read("Units.dat");
    const QString log = codepage::decode(folder.read("logs/AutoTest_" + begin.toString("yyyy_MM_dd") + ".log"));
    const QDateTime end = QDateTime::currentDateTime();
    const bool stillRunning = pruefungIsRunning();
    window.reset();

    QString expectedWire = QStringLiteral("\nALLP00\nALLi00").repeated(3);
    expectedWire += QStringLiteral("\n003S00\n007S00\n007S00") + QStringLiteral("\nALLp00").repeated(3) + "\n050A00";
    EXPECT_EQ(bus.wire(), expectedWire);
    EXPECT_FALSE(stillRunning);
    // The countdown starts when the broadcasts end, 2.1 s after the last
    // one, and runs 60 seconds of the clock: 59 to 61 real ones, the next
    // tick included.
    const auto writes = bus.writeLog();
    const auto request = std::find_if(writes.begin(), writes.end(), [](auto &w) { return w.text.contains(u"S00"); });
    ASSERT_NE(request, writes.begin());
    ASSERT_NE(request, writes.end());
    const qint64 countdown = request->atMs - std::prev(request)->atMs - 2100;
    EXPECT_GE(countdown, 58900);
    EXPECT_LE(countdown, 62000);

    EXPECT_TRUE(log.contains(QStringLiteral("COM-Port: COM1\r\n\r\nAnzahl zu prüfender Geräte: 2\r\n")));
    const QRegularExpression stamp(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d"));
    for (auto m = stamp.globalMatch(log); m.hasNext();) {
        const QDateTime t = QDateTime::fromString(m.next().captured(), QStringLiteral("dd.MM.yyyy HH:mm"));
        EXPECT_GE(t.addSecs(60), begin);
        EXPECT_LE(t, end);
    }
    const QString mark = QStringLiteral("Details der Prüfung:\r\n--------------------\r\n\r\n");
    QString details = log.mid(log.indexOf(mark) + mark.size());
    details.replace(stamp, QStringLiteral("<t>"));
    EXPECT_EQ(details, QStringLiteral("Abfrage der Geräte gestartet am: <t>\r\n\r\n"
                                      "Adresse 003\r\n\tTyp: Pallex\r\n\tStatus: OK\r\n\r\n"
                                      "Adresse 007\r\n\tTyp: Ivenor\r\n\tStatus: OK\r\n\r\n"
                                      "\r\n\r\nAutoprüfung beendet am: <t>\r\n"));

    // The registry as the poll must leave it: both units answered OK.
    units().clear();
    for (auto [adr, frame] : {std::pair{3, frame3}, std::pair{7, frame7}}) {
        addUnit(adr, frame);
        units().at(adr).state = kStateOk;
        units().at(adr).errorText = fixedWidth(QStringLiteral("\tSTATUS: OK\r\n"), kErrorTextWidth);
    }
    saveUnits(false);
    EXPECT_EQ(unitsFile, folder.read("Units.dat"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    qunsetenv("NUVAX_COM1");
}
