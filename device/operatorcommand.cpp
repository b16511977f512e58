#include "device/operatorcommand.h"

#include "device/busclaim.h"
#include "device/seriallink.h"

bool sendOperatorCommand(const QString &text, QString *refusal)
{
    const BusClaim claim(BusUser::Foreground);
    if (!claim.granted()) {
        if (refusal)
            *refusal = busBusyReason();
        return false;
    }
    serialLink().sendCommand(text);
    return true;
}
