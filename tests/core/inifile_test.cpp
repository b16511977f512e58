#include "core/inifile.h"

#include "support/qtprint.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
QString readKey(const TempAppFolder &folder, const char *section, const char *key,
                const char *fallback = "-", int buffer = 1024)
{
    return inifile::read(folder.file(QStringLiteral("Nuvax.ini")), QString::fromUtf8(section),
                         QString::fromUtf8(key), QString::fromUtf8(fallback), buffer);
}
} // namespace

TEST(IniFile, ReadsLikeThePrivateProfileFunctions)
{
    TempAppFolder folder;
    folder.write(QStringLiteral("Nuvax.ini"),
                 "; Kommentar\r\n"
                 "Frei=vor jeder Sektion\r\n"
                 "  [ com ]  \r\n"
                 "  PORT =  3  \r\n"
                 "Name=\"  in Anf\xFChrungszeichen  \"\n"
                 "Einfach='x'\r\n"
                 "Halb=\"offen\r\n"
                 "Leer=\r\n"
                 "Port=9\r\n"
                 "[Weiter]\r\n"
                 "Port=7\r\n"
                 "[COM]\r\n"
                 "Bluetooth=1\r\n");

    EXPECT_EQ(readKey(folder, "COM", "Port"), QStringLiteral("3"));       // first key wins
    EXPECT_EQ(readKey(folder, "Com", "name"), QStringLiteral("  in Anführungszeichen  "));
    EXPECT_EQ(readKey(folder, "COM", "Einfach"), QStringLiteral("x"));
    EXPECT_EQ(readKey(folder, "COM", "Halb"), QStringLiteral("\"offen"));
    EXPECT_EQ(readKey(folder, "COM", "Leer"), QString());
    EXPECT_EQ(readKey(folder, "COM", "Bluetooth"), QStringLiteral("-"));   // only the first section counts
    EXPECT_EQ(readKey(folder, "Weiter", "Port"), QStringLiteral("7"));
    EXPECT_EQ(readKey(folder, "COM", "Frei"), QStringLiteral("-"));
    EXPECT_EQ(readKey(folder, "Fehlt", "Port", "  vorgabe  "), QStringLiteral("  vorgabe"));
    EXPECT_EQ(readKey(folder, "COM", "Name", "-", 6), QStringLiteral("  in "));
    EXPECT_EQ(readKey(folder, "COM", "Fehlt", "abcdef", 4), QStringLiteral("abc"));
}

TEST(IniFile, WritesCreateAndKeepEverythingElse)
{
    TempAppFolder folder;
    const QString path = folder.file(QStringLiteral("Nuvax.ini"));

    EXPECT_NE(inifile::write(path, QStringLiteral("Program"), QStringLiteral("Instanzname"),
                             QStringLiteral("Halle Süd")), 0);
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")), QByteArray("[Program]\r\nInstanzname=Halle S\xFC" "d\r\n"));

    folder.write(QStringLiteral("Nuvax.ini"),
                 "; von Hand\n[COM]\nport=1\n\n[AP]\nSignalAdr=5\n");
    const auto write = [&](const char *section, const char *key, const char *value) {
        return inifile::write(path, QString::fromUtf8(section), QString::fromUtf8(key),
                              QString::fromUtf8(value));
    };
    EXPECT_NE(write("com", "PORT", "4"), 0);             // the stored spelling stays
    EXPECT_NE(write("COM", "ComMode", "1"), 0);          // new key at the end of its section
    EXPECT_NE(write("Pruefung", "zeit", "12:00:00"), 0); // new section at the end of the file
    EXPECT_NE(write("AP", "SigResultAktiv", "zwei\r\nZeilen"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("; von Hand\r\n[COM]\r\nport=4\r\nComMode=1\r\n\r\n[AP]\r\nSignalAdr=5\r\n"
                         "SigResultAktiv=zwei  Zeilen\r\n[Pruefung]\r\nzeit=12:00:00\r\n"));
}

TEST(IniFile, FailedWriteReturnsZeroAndLeavesNothingHalfWritten)
{
    TempAppFolder folder;
    // A folder where the file belongs: no write can succeed, even as root.
    QDir().mkpath(folder.file(QStringLiteral("Nuvax.ini")));
    EXPECT_EQ(inifile::write(folder.file(QStringLiteral("Nuvax.ini")), QStringLiteral("AP"),
                             QStringLiteral("SignalAdr"), QStringLiteral("1")), 0);
    EXPECT_EQ(readKey(folder, "AP", "SignalAdr", "0"), QStringLiteral("0"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());

    // No program folder at all.
    EXPECT_EQ(inifile::write(folder.file(QStringLiteral("fehlt/Nuvax.ini")), QStringLiteral("AP"),
                             QStringLiteral("SignalAdr"), QStringLiteral("1")), 0);
}
