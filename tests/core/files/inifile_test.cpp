#include "core/files/inifile.h"

#include "support/qtprint.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(IniFile, ReadsLikeThePrivateProfileFunctions)
{
    TempAppFolder folder;
    folder.write(QStringLiteral("Nuvax.ini"),
                 "Frei=vor jeder Sektion\r\n  [ com ]  \r\n  PORT =  3  \r\nName=\"  in Anf\xFChrungszeichen  \"\n"
                 "Halb=\"offen\r\nPort=9\r\n[Weiter]\r\nPort=7\r\n[COM]\r\nBluetooth=1\r\n");
    const auto read = [&](const char *section, const char *key, const char *fallback = "-", int buffer = 1024) {
        return inifile::read(folder.file(QStringLiteral("Nuvax.ini")), QString::fromUtf8(section),
                             QString::fromUtf8(key), QString::fromUtf8(fallback), buffer);
    };
    EXPECT_EQ(read("COM", "Port"), QStringLiteral("3"));
    EXPECT_EQ(read("Com", "name"), QStringLiteral("  in Anführungszeichen  "));
    EXPECT_EQ(read("COM", "Halb"), QStringLiteral("\"offen"));
    EXPECT_EQ(read("COM", "Bluetooth"), QStringLiteral("-"));   // only the first such section counts
    EXPECT_EQ(read("Weiter", "Port"), QStringLiteral("7"));
    EXPECT_EQ(read("COM", "Frei"), QStringLiteral("-"));
    EXPECT_EQ(read("Fehlt", "Port", "  vorgabe  "), QStringLiteral("  vorgabe"));
    EXPECT_EQ(read("COM", "Name", "-", 6), QStringLiteral("  in "));
    EXPECT_EQ(read("COM", "Fehlt", "abcdef", 4), QStringLiteral("abc"));
}

TEST(IniFile, WritesCreateAndKeepEverythingElse)
{
    TempAppFolder folder;
    const QString path = folder.file(QStringLiteral("Nuvax.ini"));
    const auto write = [&](const char *section, const char *key, const char *value) {
        return inifile::write(path, QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
    };
    EXPECT_NE(write("Program", "Instanzname", "Halle Süd"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")), QByteArray("[Program]\r\nInstanzname=Halle S\xFC" "d\r\n"));

    folder.write(QStringLiteral("Nuvax.ini"), "; von Hand\n[COM]\nport=1\n\n[AP]\nSignalAdr=5\n");
    EXPECT_NE(write("com", "PORT", "4"), 0);             // the stored spelling stays
    EXPECT_NE(write("COM", "ComMode", "1"), 0);          // new key at the end of its section
    EXPECT_NE(write("Pruefung", "zeit", "12:00:00"), 0); // new section at the end of the file
    EXPECT_NE(write("AP", "SigResultAktiv", "zwei\r\nZeilen"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("; von Hand\r\n[COM]\r\nport=4\r\nComMode=1\r\n\r\n[AP]\r\nSignalAdr=5\r\n"
                         "SigResultAktiv=zwei  Zeilen\r\n[Pruefung]\r\nzeit=12:00:00\r\n"));

    // A folder in place of the file, or no program folder: the write fails, even as root.
    QFile::remove(path);
    QDir().mkpath(path);
    EXPECT_EQ(write("AP", "SignalAdr", "1"), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(inifile::write(folder.file(QStringLiteral("fehlt/Nuvax.ini")), QStringLiteral("AP"),
                             QStringLiteral("SignalAdr"), QStringLiteral("1")), 0);
}
