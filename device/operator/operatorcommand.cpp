#include "device/operator/operatorcommand.h"

#include "device/link/busclaim.h"
#include "device/link/seriallink.h"

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
