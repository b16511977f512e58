#include "core/registry/systemstatus.h"

void showSystemStatus(SystemStatus status)
{
    QString title;
    QStringList lines;
    switch (status) {
    case SystemStatus::Fault:
        title = QStringLiteral("Systemstatus: Fehler");
        lines = {QStringLiteral("Bei mindestens einem eingetragenen Gerät wurde ein Fehler gefunden"),
                 QStringLiteral("Dieses Symbol bedeutet, dass alle unter 'Übersicht' eingetragenen "
                                "Geräte getestet wurden, und bei einem oder mehreren Geräten "
                                "mindestens ein Fehler gefunden wurde."),
                 QStringLiteral("Nähere Hinweise und Fehlerbeschreibungen finden Sie im Logbuch")};
        break;
    case SystemStatus::Unknown:
        title = QStringLiteral("Systemstatus: Unbekannt");
        lines = {QStringLiteral("Es gibt mindestens ein Gerät, das noch nicht getestet wurde."),
                 QStringLiteral("Dieses Symbol bedeutet, dass mindestens ein Gerät vorhanden ist, "
                                "dessen Status unbekannt ist. Es wird bei der nächsten "
                                "Autoprüfung getestet werden."),
                 QStringLiteral("Stellen Sie sicher, dass die automatische Prüfung aktiviert ist")};
        break;
    case SystemStatus::Ok:
        title = QStringLiteral("Systemstatus: OK");
        lines = {QStringLiteral("Alle eingetragenen Geräte arbeiten fehlerfrei."),
                 QStringLiteral("Dieses Symbol bedeutet, dass alle unter 'Übersicht' eingetragenen "
                                "Geräte getestet wurden, und bei keinem Gerät eine Fehlfunktion "
                                "festzustellen war."),
                 QStringLiteral("Solange dieses Symbol angezeigt wird, ist alles in Ordnung")};
        break;
    }
    appView().showSystemStatus(status, title, lines.join(QStringLiteral("\r\n")));
}
