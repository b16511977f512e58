#pragma once
// What the tests of the station's files share: a fresh program folder, a fake
// clock, a recorded window and scripted boxes, and tables emptied before and after.
#include "core/board/formularrecord.h"
#include "core/files/datafile.h"
#include "core/files/taskrecord.h"
#include "core/platform/codepage.h"
#include "core/registry/unitregistry.h"
#include "core/station/refreshhooks.h"
#include "core/station/stationsettings.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <QStringList>
#include <gtest/gtest.h>

class StationFiles : public ::testing::Test
{
protected:
    StationFiles() { reset(); }
    ~StationFiles() override { reset(); }

    QByteArray read(const char *name) const { return folder.read(QString::fromUtf8(name)); }
    void write(const char *name, const QByteArray &bytes) const { folder.write(QString::fromUtf8(name), bytes); }
    // The entries of the general log, oldest first, without their time stamps.
    QStringList log() const
    {
        QStringList entries;
        for (const QString &line : codepage::decode(read("logs/Allgemein.log")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            entries.prepend(line.startsWith(u'[') ? line.mid(line.indexOf(u']') + 2) : line);
        return entries;
    }
    // The one box shown, as "title|text".
    QString box() const
    {
        EXPECT_EQ(prompts.shown.size(), 1);
        return prompts.shown.isEmpty() ? QString() : prompts.shown.last().title + u'|' + prompts.shown.last().text;
    }

    TempAppFolder folder;
    FakeClock clock;
    RecordingView view;
    ScriptedPrompts prompts;

private:
    static void reset()
    {
        units().clear();
        tasks().clear();
        formulare().clear();
        settings() = StationSettings{};
        refreshHooks() = RefreshHooks{};
        forgetLoadFailures();
    }
};
