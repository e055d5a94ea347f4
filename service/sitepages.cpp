#include "service/sitepages.h"

namespace riz::service {
namespace {

std::string Page(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html lang=\"de\"><head><meta charset=\"utf-8\"><title>" + title +
           "</title><style>body{font-family:Verdana,sans-serif;font-size:10pt;"
           "background:#f1ede5;color:#202020;margin:16px}h1{font-size:14pt;color:#1a3a6a}"
           "</style></head><body><h1>" +
           title + "</h1>" + body + "</body></html>\n";
}

} // namespace

bool SitePage(const std::string& name, std::string& html)
{
    if (name == "home.html") {
        html = Page("Willkommen bei RIZ Avivaze",
                    "<p>Schreiben Sie Ihre SMS bequem am PC und lassen Sie sie von uns "
                    "zustellen &ndash; sofort oder zu einem Zeitpunkt Ihrer Wahl.</p>"
                    "<p>Neu: Logos und Klingelt&ouml;ne aus unserem Katalog, Erinnerungen an "
                    "Termine und Geburtstage per SMS oder E-Mail.</p>"
                    "<p>Jeden Tag einige kostenlose SMS, gesponsert von unseren Partnern.</p>");
        return true;
    }
    if (name == "help.html") {
        html =
            Page("Hilfe", "<h2>SMS versenden</h2><p>Empf&auml;nger eintragen, Text schreiben, auf "
                          "&bdquo;Senden&ldquo; klicken. Lange Texte werden auf mehrere SMS "
                          "verteilt; jede SMS kostet 1,5 Credits.</p>"
                          "<h2>Credits</h2><p>Auf der Seite &bdquo;Credits&ldquo; sehen Sie Ihren "
                          "Kontostand und k&ouml;nnen Credits kaufen.</p>"
                          "<h2>Reminder</h2><p>Tragen Sie Ihre Termine ein und klicken Sie auf "
                          "&bdquo;Daten speichern&ldquo;. Wir erinnern Sie rechtzeitig.</p>");
        return true;
    }
    if (name == "support.html") {
        html = Page("Kundenservice",
                    "<p>Fragen zu Ihrem Konto, Ihren Credits oder zum Programm? Schreiben Sie "
                    "uns eine E-Mail an <a href=\"mailto:support@example.org\">"
                    "support@example.org</a>.</p><p>Bitte geben Sie dabei Ihre E-Mail-Adresse "
                    "an, mit der Sie bei uns registriert sind.</p>");
        return true;
    }
    return false;
}

} // namespace riz::service
