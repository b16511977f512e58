#include "core/registry/unitregistry.h"

#include "support/qtprint.h"
#include "support/recordingview.h"

#include <gtest/gtest.h>

TEST(SystemStatus, TrafficLightOverNormalAddressesOnly)
{
    RecordingView view;
    units().clear();
    auto add = [](int addr, int state) { units().at(addr).exists = true; units().at(addr).state = state; };

    updateSystemStatus();
    EXPECT_EQ(view.systemStatus, SystemStatus::Ok);
    EXPECT_EQ(view.statusTitle, QStringLiteral("Systemstatus: OK"));

    add(5, kStateOk);
    add(7, kStateUnknown);
    add(1000, kStateFault);   // special addresses never count
    updateSystemStatus();
    EXPECT_EQ(view.systemStatus, SystemStatus::Unknown);
    EXPECT_EQ(view.statusTitle, QStringLiteral("Systemstatus: Unbekannt"));
    EXPECT_EQ(view.statusText,
              QStringLiteral("Es gibt mindestens ein Gerät, das noch nicht getestet wurde.\r\n"
                             "Dieses Symbol bedeutet, dass mindestens ein Gerät vorhanden ist, dessen "
                             "Status unbekannt ist. Es wird bei der nächsten Autoprüfung getestet "
                             "werden.\r\n"
                             "Stellen Sie sicher, dass die automatische Prüfung aktiviert ist"));

    add(999, kStateFault);
    updateSystemStatus();
    EXPECT_EQ(view.systemStatus, SystemStatus::Fault);
    EXPECT_EQ(view.statusTitle, QStringLiteral("Systemstatus: Fehler"));

    // A state left in a slot nobody is registered at counts for nothing.
    units().at(999).exists = false;
    units().at(7).state = kStateOk;
    EXPECT_EQ(computeSystemStatus(), SystemStatus::Ok);
    units().clear();
}
