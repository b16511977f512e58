#include "core/registry/unitdescription.h"

#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"

QStringList descriptionParts(int addr)
{
    QStringList parts;
    const int count = getDescriptionPartCount(addr);
    for (int part = 1; part <= count; ++part)
        parts.append(getUnitDescription(addr, part));
    return parts;
}

bool setDescriptionParts(int addr, const QStringList &parts)
{
    if (!isRegistryAddress(addr))
        return false;
    const int count = getDescriptionPartCount(addr);
    const int length = kDescriptionWidth / count;
    QString joined;
    for (int part = 0; part < count; ++part)
        joined += fixedWidth(parts.value(part), length);
    units().at(addr).description = fixedWidth(joined, kDescriptionWidth);
    return true;
}
