#include "ui/forms/frmsearchwizard.h"

#include "core/stationsettings.h"
#include "core/unitaddress.h"
#include "core/unitregistry.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class SearchWizardTest : public ::testing::Test
{
protected:
    SearchWizardTest()
    {
        settings() = StationSettings{};
        units().clear();
        for (int a : {5, 999})
            addUnit(a, sampleMessage(kType0203, formatUnitAddress(a)).left(12));
        saveUnits(false);
        savedUnits = folder.read(QStringLiteral("Units.dat"));
        serialLink().openComPort(1);
        bus.addUnit(998, kType0404);
        wizard.show();
    }
    ~SearchWizardTest() override
    {
        serialLink().reset();
        units().clear();
    }

    template <typename T> T *child(const char *name) { return wizard.findChild<T *>(QLatin1String(name)); }
    QPushButton *button(const char *name) { return child<QPushButton>(name); }
    // Weiter up to the search page, which runs the search within the click.
    static void searchFrom(FrmSearchWizard &w, const QString &start)
    {
        auto *next = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
        next->click();
        w.findChild<QLineEdit *>(QStringLiteral("txtStartAddress"))->setText(start);
        next->click();
        next->click();
    }
    QStringList rows()
    {
        QStringList out;
        auto *list = child<QTreeWidget>("ListView1");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.append(list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1));
        return out;
    }
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
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    QByteArray savedUnits;
    FrmSearchWizard wizard{nullptr};
};

TEST_F(SearchWizardTest, PagesStartAddressAndFertigRegisteringTheResult)
{
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Nuvax Such-Assistent"));
    EXPECT_EQ(wizard.visiblePageIndex(), 0);
    EXPECT_FALSE(button("cmdBack")->isEnabled());
    EXPECT_FALSE(button("cmdFertig")->isEnabled());
    EXPECT_EQ(child<QComboBox>("cmbSuchModus")->currentText(), QStringLiteral("Bestandsaufnahme"));

    button("cmdWeiter")->click();
    auto *start = child<QLineEdit>("txtStartAddress");
    EXPECT_EQ(start->text(), QStringLiteral("1"));
    for (const char *typed : {"0", "1000", "abc", ""}) {
        start->setText(QString::fromUtf8(typed));
        EXPECT_FALSE(button("cmdWeiter")->isEnabled()) << typed;
        EXPECT_FALSE(button("cmdBack")->isEnabled()) << typed;
    }
    ASSERT_EQ(prompts.shown.size(), 4);
    EXPECT_EQ(prompts.shown[0].title + u'|' + prompts.shown[0].text,
              QStringLiteral("Startadresse|Bitte geben Sie eine gültige Zahl zwischen 1 und 999 ein"));
    child<QRadioButton>("optSuchBefehl1")->setChecked(true);  // "STATUS-Suche"
    start->setText(QStringLiteral("997"));
    EXPECT_TRUE(button("cmdWeiter")->isEnabled());
    button("cmdWeiter")->click();
    button("cmdWeiter")->click();

    EXPECT_EQ(wizard.visiblePageIndex(), 3);
    EXPECT_EQ(bus.writes().first(), QStringLiteral("\n997S00"));
    EXPECT_EQ(child<QLabel>("lblStat")->text(), QStringLiteral("Fertig!"));
    EXPECT_EQ(rows(), QStringList({QStringLiteral("[INFO]|*** Suche nach anderen Geräten"),
                                   QStringLiteral("998|") + getDeviceTypeName(sampleMessage(kType0404))}));
    EXPECT_TRUE(button("cmdStop")->isHidden());
    EXPECT_FALSE(button("cmdWeiter")->isEnabled());
    EXPECT_TRUE(button("cmdFertig")->isEnabled());
    button("cmdFertig")->click();

    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(registeredInFile(), QList<int>({5, 998}));  // 999 asked and silent; 5 never asked
}

TEST_F(SearchWizardTest, EscapeDuringASearchEndsItAndAbbrechenAfterOneChangesNothing)
{
    // Escape while 998 is asked: the search ends, then the wizard closes.
    auto *status = child<QLabel>("lblStat");
    const auto busPump = waits.pumpHook();
    waits.setPumpHook([&] {
        busPump();
        if (status->text() == QStringLiteral("Adresse: 998/999   Versuch #1") && wizard.isVisible()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&wizard, &escape);
            EXPECT_TRUE(wizard.isVisible());
        }
    });
    searchFrom(wizard, QStringLiteral("990"));
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_EQ(bus.writes().last(), QStringLiteral("\n998F00"));
    waits.setPumpHook(busPump);

    FrmSearchWizard again(nullptr);
    again.show();
    searchFrom(again, QStringLiteral("995"));
    ASSERT_EQ(again.findChild<QLabel *>(QStringLiteral("lblStat"))->text(), QStringLiteral("Fertig!"));
    again.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(folder.read(QStringLiteral("Units.dat")), savedUnits);
    EXPECT_TRUE(units().at(999).exists);
}

} // namespace
