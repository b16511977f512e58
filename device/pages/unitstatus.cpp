#include "device/pages/unitstatus.h"

#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/stationview.h"
#include "device/link/busclaim.h"
#include "device/messages/devicetypes.h"
#include "device/messages/messageheader.h"
#include "device/messages/statusrequest.h"
#include "device/pages/pagefillers.h"

namespace {

// The busy pointer stays up for the whole query and goes on every way out.
class BusyPointer
{
public:
    BusyPointer() { appView().setBusyPointer(true); }
    ~BusyPointer() { appView().setBusyPointer(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

} // namespace

int showUnitStatus(int addr, QString *reason)
{
    const BusyPointer busy;
    QString answer;
    {
        // The operator's query waits with the event loop running; it must not
        // cut into an automatic test, a poll or a task, nor into another query.
        // The claim ends with the exchange: a failure box of "Units.dat" below
        // must not hold the bus while it waits for the operator.
        const BusClaim claim(BusUser::Foreground);
        if (!claim.granted()) {
            setReason(reason, busBusyReason());
            return kUnitStatusRequestFailed;
        }
        QString why;
        if (requestStatus(addr, answer, QStringLiteral("00"), &why) < 0) {
            setReason(reason, why);
            return kUnitStatusRequestFailed;
        }
    }

    // A unit that now reports another device type is recorded with it, so its
    // description and evaluation follow the type it really is. Nothing else of
    // the record changes: an address that was not registered stays so.
    const int deviceType = getDeviceTypeCode(answer);
    UnitRecord &unit = units().at(addr);
    if (deviceType != getDeviceTypeCode(unit.frame)) {
        unit.frame = fixedWidth(answer.left(kHeaderLength), kFrameWidth);
        saveUnits(true);
    }

    const PageFiller filler = pageFillerFor(deviceType);
    if (!filler) {
        setReason(reason, deviceType == 0 ? QStringLiteral("Gerätetyp ist ungültig")
                                          : QStringLiteral("Gerätetyp ist nicht bekannt"));
        return kUnitStatusNoPage;
    }
    filler(answer);
    return kUnitStatusShown;
}
