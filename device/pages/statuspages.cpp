#include "device/pages/statuspages.h"

namespace {

StatusPageTemplates templates;

// Every attribute value of the pages stands between double quotes right after its "=".
QString quoted(const char *value) { return u'"' + QString::fromLatin1(value) + u'"'; }

QString head()
{
    return QStringLiteral("<html><body bgcolor=") + quoted("#ffffff") + QStringLiteral(" text=")
           + quoted("#000000") + QStringLiteral(" link=") + quoted("#ff00ff")
           + QStringLiteral(" vlink=") + quoted("#cc00cc") + QStringLiteral(" alink=")
           + quoted("#aa00aa") + QStringLiteral("><font size=") + quoted("+1");
}

// Address and description head every page; the value table opens behind them.
QString identity(const QString &typeCaption)
{
    return QStringLiteral(">Status von Adresse {F}</font><hr><br><table><tr><td><b>"
                          "Ger&auml;tetyp:</b></td><td><b>")
           + typeCaption
           + QStringLiteral("</b></td></tr><tr><td><b>Beschreibung:</b></td><td>{F}</td></tr>"
                            "</table><table border=")
           + quoted("0") + QStringLiteral(" cellspacing=") + quoted("10")
           + QStringLiteral(" cellpadding=") + quoted("0");
}

// Fault history, preformatted, and the time of the page close every page.
QString tail(const QString &afterTable = {})
{
    return QStringLiteral("</table>") + afterTable
           + QStringLiteral("<br><b>Fehlerstatus nach letzter Autopr&uuml;fung</b><br>"
                            "<pre>{F}</pre><br><font size=")
           + quoted("-2") + QStringLiteral(">Status vom {F}</font></body></html>");
}

QString row(const QString &label) { return "<tr><td>" + label + "</td><td>{F}</td></tr>"; }

QString numberedRows(const QString &label, int count)
{
    QString rows;
    for (int i = 1; i <= count; ++i)
        rows += row(label + u' ' + QString::number(i) + u':');
    return rows;
}

// A page whose values stand in one plain table, one row per value.
QString plainPage(const QString &typeCaption, const QString &rows, const QString &afterTable = {})
{
    return head() + identity(typeCaption) + u'>' + rows + tail(afterTable);
}

QString rows2001(const QString &signalLabel)
{
    return numberedRows(QStringLiteral("Status ISense"), 8) + row(signalLabel)
           + numberedRows(QStringLiteral("Pr&uuml;fung Ausg."), 8)
           + row(QStringLiteral("Pr&uuml;fergebnis:")) + row(QStringLiteral("Versorgung:"))
           + row(QStringLiteral("Softwareversion:"));
}

QString rows0401()
{
    return row(QStringLiteral("Status aktuell:")) + row(QStringLiteral("Status Pr&uuml;fung:"))
           + row(QStringLiteral("Zeitbereich Autopr&uuml;fung:"))
           + row(QStringLiteral("Autopr&uuml;fung aktiv:"))
           + row(QStringLiteral("Ger&auml;tefunktion:")) + row(QStringLiteral("Dauer letzter BDT:"))
           + row(QStringLiteral("Softwareversion:"));
}

QString rowsWithContacts(const QString &contactLabel)
{
    return numberedRows(contactLabel, 3) + row(QStringLiteral("Ger&auml;tefunktion:"))
           + row(QStringLiteral("Softwareversion:"));
}

QString rows0501()
{
    return row(QStringLiteral("Fehlerstatus aktuell:"))
           + row(QStringLiteral("Fehlerstatus Pr&uuml;fung:"))
           + row(QStringLiteral("Zeitbereich Autopr&uuml;fung:"))
           + row(QStringLiteral("Autopr&uuml;fung aktiv:"))
           + row(QStringLiteral("Ger&auml;tefunktion:")) + row(QStringLiteral("Dauer letzter BDT:"))
           + row(QStringLiteral("Ger&auml;tekonfiguration:")) + row(QStringLiteral("Akkuspannung:"))
           + row(QStringLiteral("Entladestrom:")) + row(QStringLiteral("Temperatur:"))
           + row(QStringLiteral("Softwareversion:"));
}

QString rows1000()
{
    return row(QStringLiteral("Softwareversion:")) + row(QStringLiteral("Referenzdatum (RD):"))
           + row(QStringLiteral("Netzausf&auml;lle seit RD:"))
           + row(QStringLiteral("Pr&uuml;fungen seit RD:"))
           + row(QStringLiteral("Letzter Netzausfall (Start):"))
           + row(QStringLiteral("Letzter Netzausfall (Ende):"))
           + numberedRows(QStringLiteral("Wechselrichter"), 21)
           + row(QStringLiteral("Autopr&uuml;fung:")) + row(QStringLiteral("Pr&uuml;fzyklus:"))
           + row(QStringLiteral("Pr&uuml;ftag:")) + row(QStringLiteral("Startzeit Autopr&uuml;fung:"))
           + row(QStringLiteral("Status:")) + row(QStringLiteral("Letzter BDT (Start):"))
           + row(QStringLiteral("Letzter BDT (Ende):")) + row(QStringLiteral("Batteriespannung:"))
           // The current is shown as charging or discharging: its label is a value too.
           + QStringLiteral("<tr><td>{F}:</td><td>{F}</td></tr>")
           + row(QStringLiteral("Systemdatum:")) + row(QStringLiteral("Systemzeit:"));
}

// The light units show their present and their last test's states in tables of their own.
QString nestedRows0901()
{
    return QStringLiteral("><tr><td>Dauer der letzten Pr&uuml;fung:</td><td>{F}</td></tr>")
           + QStringLiteral("<tr><td>   <table border=")
           + quoted("0")
           + QStringLiteral(" cellspacing=")
           + quoted("5")
           + QStringLiteral(">      <tr><td><b>Momentaner Status</b></td></tr>      <tr>            "
                            "<td>Akkuspannung:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Ladung:</td><td>{F}</td>        </tr>       <tr>            "
                            "<td>Temperatur:</td><td>{F}</td>        </tr>       <tr>            "
                            "<td>Leuchtmittel:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Kapazit&auml;t:</td><td>{F}</td></tr></table>")
           + QStringLiteral("</td></tr><tr><td>Gruppenadresse:</td><td>{F}</td></tr><tr>"
                            "<td>Dauer-/Bereitschaftslicht:</td><td>{F}</td></tr><tr><td>    <table border=")
           + quoted("0")
           + QStringLiteral(" cellspacing=")
           + quoted("5")
           + QStringLiteral(">      <tr><td><b>Status letzte Pr&uuml;fung</b></td></tr>     "
                            "<tr>            <td>Akkuspannung:</td><td>{F}</td>      </tr>       "
                            "<tr>            <td>Ladung:</td><td>{F}</td>        </tr>       "
                            "<tr>            <td>Temperatur:</td><td>{F}</td>        </tr>       "
                            "<tr>            <td>Leuchtmittel:</td>")
           + QStringLiteral("<td>{F}</td>       </tr>       <tr>            <td>Kapazit&auml;t:</td><td>{F}"
                            "</td>        </tr>   </table><tr><td>Temperatur:</td><td>{F}</td></tr><tr>"
                            "<td>Pr&uuml;fintervall:</td><td>{F}</td></tr><tr><td>Akkuspannung:</td><td>{F}"
                            "</td></tr><tr><td>Softwareversion:</td><td>{F}</td></tr>");
}

QString nestedRows0701()
{
    return QStringLiteral("><tr><td>   <table border=")
           + quoted("0")
           + QStringLiteral(" cellspacing=")
           + quoted("5")
           + QStringLiteral(">      <tr><td><b>Momentaner Status</b></td></tr>      <tr>            "
                            "<td>Netzspannung:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Akkuspannung:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Temperatur:</td><td>{F}</td>        </tr>       <tr>            "
                            "<td>Ladung:</td><td>{F}</td>        </tr>       <tr>            "
                            "<td>Leuchtmittel:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Notbetrieb:</td>")
           + QStringLiteral("<td>{F}</td>       </tr>   </table></td></tr><tr>"
                            "<td>Dauer des letzten Netzausfalls:</td><td>{F}</td></tr><tr>"
                            "<td>Dauer der letzten Pr&uuml;fung:</td><td>{F}</td></tr><tr><td>    "
                            "<table border=")
           + quoted("0")
           + QStringLiteral(" cellspacing=")
           + quoted("5")
           + QStringLiteral(">      <tr><td><b>Status letzte Pr&uuml;fung</b></td></tr>     "
                            "<tr>            <td>Netzspannung:</td><td>{F}</td>      </tr>       "
                            "<tr>            <td>Akkuspannung:</td><td>{F}</td>      </tr>       "
                            "<tr>            <td>Temperatur:</td><td>{F}</td></tr>")
           + QStringLiteral("<tr><td>Ladung:</td><td>{F}</td>       </tr>       <tr>            "
                            "<td>Leuchtmittel:</td><td>{F}</td>      </tr>       <tr>            "
                            "<td>Notbetrieb:</td><td>{F}</td>        </tr>   </table><tr><td>Temperatur:"
                            "</td><td>{F}</td></tr><tr><td>Pr&uuml;fintervall:</td><td>{F}</td></tr><tr>"
                            "<td>Akkuspannung:</td><td>{F}</td></tr><tr><td>Softwareversion:</td><td>{F}"
                            "</td></tr>");
}

} // namespace

const StatusPageTemplates &statusPages() { return templates; }

void initStatusPages()
{
    StatusPageTemplates &t = templates;
    const QString dravik = QStringLiteral("Dravik-Regler");
    t.statusPageTemplate2001 = plainPage(dravik, rows2001(QStringLiteral("Meldeeingang:")));
    t.statusPageTemplate2002 = plainPage(dravik, rows2001(QStringLiteral("SV Status:")));
    t.statusPageTemplate0501 = plainPage(QStringLiteral("WNT3-H"), rows0501(), QStringLiteral("  "));
    t.statusPageTemplate0203 = plainPage(QStringLiteral("VARO3/VARO4"), row(QStringLiteral("Leuchtmittel:")));
    t.statusPageTemplate0404 = plainPage(QStringLiteral("QOR-5K"), rowsWithContacts(QStringLiteral("Phase")));
    t.statusPageTemplate0401 = plainPage(QStringLiteral("QOR07"), rows0401());
    t.statusPageTemplate0403 = plainPage(QStringLiteral("QOR-TD"), rowsWithContacts(QStringLiteral("Meldekontakt")));
    t.statusPageTemplate0402 = plainPage(QStringLiteral("QOR07-N"), rows0401());
    t.statusPageTemplate1000 = plainPage(QStringLiteral("HZ4000"), rows1000());
    t.statusPageTemplate0901 = head() + identity(QStringLiteral("TQ05/TW83")) + nestedRows0901() + tail();
    t.statusPageTemplate0701 = head() + identity(QStringLiteral("Pallex")) + nestedRows0701() + tail();
    t.statusPageTemplate0601 = t.statusPageTemplate0701;
}
