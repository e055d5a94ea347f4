#include "service/httpserver.h"

#include <cmath>
#include <cstdio>

namespace riz::service {
namespace {

// Stored texts are Windows-1252; the page is UTF-8 and escapes markup.
std::string Html(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "<br>";
            break;
        case '\r':
            break;
        default:
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c >= 0xA0) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += "?";
            }
        }
    }
    return out;
}

std::string DateText(double value)
{
    if (value == 0)
        return "";
    const long long days = static_cast<long long>(std::floor(value));
    const int secs = static_cast<int>(std::round((value - std::floor(value)) * 86400));
    // 1899-12-30 is day 0; 25569 is 1970-01-01.
    const long long unixDays = days - 25569;
    const time_t t = static_cast<time_t>(unixDays * 86400 + secs);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::string Credits(int tenths)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, std::abs(tenths % 10));
    return buf;
}

void Section(std::string& page, TServiceDb& db, const std::string& title,
             const std::vector<std::string>& headers, const std::string& sql,
             const std::vector<char>& kinds)
{
    page += "<h2>" + title + "</h2><table><tr>";
    for (const auto& h : headers)
        page += "<th>" + h + "</th>";
    page += "</tr>";
    auto st = db.Prepare(sql);
    while (st.Step()) {
        page += "<tr>";
        for (size_t i = 0; i < kinds.size(); ++i) {
            std::string cell;
            switch (kinds[i]) {
            case 'd':
                cell = DateText(st.Double(static_cast<int>(i)));
                break;
            case 'c':
                cell = Credits(st.Int(static_cast<int>(i)));
                break;
            case 'b':
                cell = st.Int(static_cast<int>(i)) ? "ja" : "nein";
                break;
            default:
                cell = Html(st.Text(static_cast<int>(i)));
            }
            page += "<td>" + cell + "</td>";
        }
        page += "</tr>";
    }
    page += "</table>";
}

} // namespace

std::string AdminPage(TServiceCore& core)
{
    std::string page =
        "<!DOCTYPE html><html lang=\"de\"><head><meta charset=\"utf-8\"><title>riz-service "
        "admin</title><style>body{font-family:sans-serif;font-size:10pt}table{border-collapse:"
        "collapse;margin-bottom:1em}td,th{border:1px solid #aaa;padding:2px 6px;text-align:left;"
        "vertical-align:top}</style></head><body><h1>riz-service</h1>";
    core.WithDb([&](TServiceDb& db) {
        Section(page, db, "Kunden", {"ID", "E-Mail", "Name", "Best&auml;tigt", "Credits", "Handy"},
                "SELECT id, email, first_name || ' ' || last_name, confirmed, credits, cell_phone "
                "FROM customers ORDER BY id",
                {'t', 't', 't', 'b', 'c', 't'});
        Section(page, db, "Postausgang (letzte 200)", {"Zeit", "An", "Betreff", "Code", "Text"},
                "SELECT created, recipient, subject, code, body FROM outbox ORDER BY id DESC "
                "LIMIT 200",
                {'d', 't', 't', 't', 't'});
        Section(page, db, "Handys (letzte 200)", {"Zeit", "Nummer", "Absender", "Art", "Text"},
                "SELECT delivered, number, sender, kind, text FROM phone_inbox ORDER BY id DESC "
                "LIMIT 200",
                {'d', 't', 't', 't', 't'});
        Section(page, db, "Geplante SMS", {"Queue-ID", "Kunde", "An", "Zeit", "Text"},
                "SELECT queue_id, customer_id, receiver, send_at, text FROM messages "
                "WHERE delivered = 0 ORDER BY send_at",
                {'t', 't', 't', 'd', 't'});
        Section(page, db, "Anfragen (letzte 100)", {"Zeit", "Anfrage", "E-Mail", "rslt", "Fehler"},
                "SELECT at, name, email, rslt, error FROM request_log ORDER BY id DESC LIMIT 100",
                {'d', 't', 't', 't', 't'});
        Section(page, db, "Code-Pool (0190)", {"Code", "Zahlungsart", "Eingel&ouml;st von"},
                "SELECT code, option, COALESCE(used_by, '') FROM code_pool ORDER BY option, "
                "used_by IS NOT NULL, code",
                {'t', 't', 't'});
    });
    page += "</body></html>\n";
    return page;
}

} // namespace riz::service
