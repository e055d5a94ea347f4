#include "service/seeddata.h"

#include "service/bitmaps.h"
#include "service/requestcontext.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace riz::service {
namespace {

// Texts are Windows-1252, as everywhere in the protocol.
struct TNeighborhood
{
    const char* PostalCode;
    const char* City;
    const char* NormCity;
    const char* Quarter;
    const char* NormQuarter;
};

const TNeighborhood kNeighborhoods[] = {
    {"10115", "Berlin", "BERLIN", "Mitte", "MITTE"},
    {"10117", "Berlin", "BERLIN", "Mitte", "MITTE"},
    {"10178", "Berlin", "BERLIN", "Mitte", "MITTE"},
    {"20095", "Hamburg", "HAMBURG", "Hamburg-Altstadt", "HAMBURG-ALTSTADT"},
    {"20095", "Hamburg", "HAMBURG", "St. Georg", "ST. GEORG"},
    {"50667", "K\xF6ln", "KOELN", "Altstadt-Nord", "ALTSTADT-NORD"},
    {"60311", "Frankfurt am Main", "FRANKFURT AM MAIN", "Altstadt", "ALTSTADT"},
    {"60311", "Frankfurt am Main", "FRANKFURT AM MAIN", "Innenstadt", "INNENSTADT"},
    {"69117", "Heidelberg", "HEIDELBERG", "Altstadt", "ALTSTADT"},
    {"69117", "Heidelberg", "HEIDELBERG", "Bergheim", "BERGHEIM"},
    {"80331", "M\xFCnchen", "MUENCHEN", "Altstadt-Lehel", "ALTSTADT-LEHEL"},
    {"99084", "Erfurt", "ERFURT", "Altstadt", "ALTSTADT"},
};

// Shapes on a cell of size w x h, coordinates relative to the cell's centre, scaled to -1..1.
bool Heart(double x, double y)
{
    y = -y * 1.2 + 0.25;
    x *= 1.2;
    const double a = x * x + y * y - 1;
    return a * a * a - x * x * y * y * y <= 0;
}

bool Star(double x, double y)
{
    const double r = std::sqrt(x * x + y * y);
    const double angle = std::atan2(y, x);
    return r <= 0.45 + 0.5 * std::pow(std::fabs(std::cos(2.5 * angle)), 3);
}

bool Smiley(double x, double y)
{
    const double r = std::sqrt(x * x + y * y);
    if (r > 0.82 && r <= 1.0)
        return true;
    if (std::hypot(x + 0.35, y + 0.3) < 0.15 || std::hypot(x - 0.35, y + 0.3) < 0.15)
        return true;
    return y > 0.2 && y < 0.6 && std::fabs(std::hypot(x, y + 0.05) - 0.55) < 0.1;
}

bool Sun(double x, double y)
{
    const double r = std::sqrt(x * x + y * y);
    if (r < 0.5)
        return true;
    const double angle = std::atan2(y, x);
    return r < 0.95 && std::fabs(std::sin(4 * angle)) < 0.25;
}

bool Note(double x, double y)
{
    if (std::hypot((x + 0.25) * 1.3, y - 0.55) < 0.38)
        return true;
    if (x > 0.0 && x < 0.15 && y > -0.9 && y < 0.55)
        return true;
    return y > -0.9 && y < -0.65 && x > 0.0 && x < 0.6;
}

using TShape = std::function<bool(double, double)>;

// A 72 x 14 logo: the shape repeated along the strip.
std::string StripLogo(const TShape& shape, int cells)
{
    const double cellWidth = 72.0 / cells;
    return MakeMonoBitmap(72, 14, [&](int x, int y) {
        const int cell = static_cast<int>(x / cellWidth);
        const double cx = (x + 0.5 - (cell + 0.5) * cellWidth) / (cellWidth / 2);
        const double cy = (y + 0.5 - 7.0) / 7.0;
        return shape(cx * (cellWidth / 14.0), cy);
    });
}

std::string WaveLogo()
{
    return MakeMonoBitmap(72, 14, [](int x, int y) {
        const double wave = 7 + 4.5 * std::sin(x / 4.0);
        return std::fabs(y - wave) < 1.3;
    });
}

std::string CheckerLogo()
{
    return MakeMonoBitmap(72, 14, [](int x, int y) {
        if (y == 0 || y == 13 || x == 0 || x == 71)
            return true;
        return ((x / 3) + (y / 3)) % 2 == 0 && y > 1 && y < 12 && x > 1 && x < 70;
    });
}

// A 30 x 30 icon: the shape in a colour on white.
std::string Icon(const TShape& shape, std::uint32_t colour)
{
    return MakeColorBitmap(30, 30, [&](int x, int y) {
        const double cx = (x + 0.5 - 15) / 13.0;
        const double cy = (y + 0.5 - 15) / 13.0;
        return shape(cx, cy) ? colour : 0xFFFFFFu;
    });
}

std::string Banner(std::uint32_t background, std::uint32_t foreground, const TShape& shape)
{
    return MakeColorBitmap(234, 60, [&](int x, int y) {
        const int cell = x / 60;
        const double cx = (x - cell * 60 - 30) / 24.0;
        const double cy = (y - 30) / 24.0;
        if (y < 3 || y > 56)
            return foreground;
        return shape(cx, cy) ? foreground : background;
    });
}

void InsertCategory(TServiceDb& db, int id, const char* type, const char* name,
                    const std::string& icon)
{
    db.Prepare("INSERT INTO logo_categories(id, type, name, icon) VALUES(?1,?2,?3,?4)")
        .Bind(1, id)
        .Bind(2, type)
        .Bind(3, name)
        .BindBlob(4, icon)
        .Run();
}

void InsertItem(TServiceDb& db, int id, int category, const char* type, const char* name,
                const std::string& data)
{
    db.Prepare("INSERT INTO logos(id, category, type, name, data) VALUES(?1,?2,?3,?4,?5)")
        .Bind(1, id)
        .Bind(2, category)
        .Bind(3, type)
        .Bind(4, name)
        .BindBlob(5, data)
        .Run();
}

void RefillCodes(TServiceDb& db, const char* option)
{
    auto st = db.Prepare("SELECT COUNT(*) FROM code_pool WHERE option = ?1 AND used_by IS NULL");
    st.Bind(1, option);
    st.Step();
    for (int i = st.Int(0); i < 20; ++i)
        db.Prepare("INSERT OR IGNORE INTO code_pool(code, option) VALUES(?1, ?2)")
            .Bind(1, RandomCode(2, 4))
            .Bind(2, option)
            .Run();
}

} // namespace

void SeedBaseData(TServiceDb& db)
{
    TTransaction tx(db);
    if (db.ScalarInt("SELECT COUNT(*) FROM neighborhoods").value_or(0) == 0) {
        for (const auto& n : kNeighborhoods)
            db.Prepare("INSERT INTO neighborhoods VALUES(?1,?2,?3,?4,?5)")
                .Bind(1, n.PostalCode)
                .Bind(2, n.City)
                .Bind(3, n.NormCity)
                .Bind(4, n.Quarter)
                .Bind(5, n.NormQuarter)
                .Run();
    }
    if (db.ScalarInt("SELECT COUNT(*) FROM numbers_0190").value_or(0) == 0) {
        db.Exec("INSERT INTO numbers_0190 VALUES(500, '0190 85 05 05'), (2000, '0190 82 00 20')");
    }
    RefillCodes(db, "<0190-50>");
    RefillCodes(db, "<0190-200>");
    if (db.ScalarInt("SELECT COUNT(*) FROM banners").value_or(0) == 0) {
        const struct
        {
            int Id;
            const char* Name;
            std::string Data;
        } banners[] = {
            {1,
             "Herzensgr\xFC\xDF"
             "e",
             Banner(0xFFE0E8, 0xC00030, Heart)},
            {2, "Sonnenschein", Banner(0xE0F0FF, 0xF0A000, Sun)},
            {3, "Gute Laune", Banner(0xFFFFE0, 0x206020, Smiley)},
        };
        for (const auto& b : banners)
            db.Prepare("INSERT INTO banners(id, name, data, file_type, link, wait_time) "
                       "VALUES(?1,?2,?3,'bmp','https://www.example.org/sponsor',3000)")
                .Bind(1, b.Id)
                .Bind(2, b.Name)
                .BindBlob(3, b.Data)
                .Run();
    }
    tx.Commit();
}

void SeedCatalog(TServiceDb& db)
{
    if (db.ScalarInt("SELECT COUNT(*) FROM logo_categories").value_or(0) > 0)
        return;
    TTransaction tx(db);
    InsertCategory(db, 1, "NOL_NGG", "Liebe", Icon(Heart, 0xD02040));
    InsertCategory(db, 2, "NOL_NGG", "Natur", Icon(Sun, 0xF0B000));
    InsertCategory(db, 3, "NOL_NGG", "Spa\xDF", Icon(Smiley, 0x2080C0));
    InsertCategory(db, 4, "RING", "Kinderlieder", Icon(Note, 0x208040));
    InsertCategory(db, 5, "RING", "Klassik", Icon(Note, 0x604090));

    InsertItem(db, 101, 1, "NOL", "Herzen", StripLogo(Heart, 5));
    InsertItem(db, 102, 1, "NOL", "Drei Herzen", StripLogo(Heart, 3));
    InsertItem(db, 201, 2, "NOL", "Sonne", StripLogo(Sun, 5));
    InsertItem(db, 202, 2, "NOL", "Wellen", WaveLogo());
    InsertItem(db, 203, 2, "NOL", "Sterne", StripLogo(Star, 5));
    InsertItem(db, 301, 3, "NOL", "Smileys", StripLogo(Smiley, 5));
    InsertItem(db, 302, 3, "NOL", "Karo", CheckerLogo());

    // Folk tunes and classics in the public domain, written down by us.
    InsertItem(db, 401, 4, "RING", "Alle meine Entchen",
               "AlleMeineEntchen:d=8,o=5,b=125:c,d,e,f,4g,4g,a,a,a,a,2g,a,a,a,a,2g,f,f,f,f,4e,"
               "4e,d,d,d,d,2c");
    InsertItem(db, 402, 4, "RING", "H\xE4nschen klein",
               "HaenschenKlein:d=8,o=5,b=125:g,e,4e,f,d,4d,c,d,e,f,g,g,4g,g,e,4e,f,d,4d,c,e,g,"
               "g,2c");
    InsertItem(db, 403, 4, "RING", "Kuckuck, Kuckuck",
               "Kuckuck:d=4,o=5,b=112:g,e,2p,g,e,2p,f,e,d,c,2d,p,d,e,f,d,2e,p,e,f,g,e,2f");
    InsertItem(db, 501, 5, "RING", "Ode an die Freude",
               "OdeAnDieFreude:d=4,o=5,b=125:e,e,f,g,g,f,e,d,c,c,d,e,e.,8d,2d,e,e,f,g,g,f,e,d,"
               "c,c,d,e,d.,8c,2c");
    InsertItem(db, 502, 5, "RING", "F\xFCr Elise",
               "FuerElise:d=8,o=5,b=125:e6,d#6,e6,d#6,e6,b,d6,c6,4a,p,c,e,a,4b,p,e,g#,b,4c6,p,"
               "e,e6,d#6,e6,d#6,e6,b,d6,c6,4a");

    db.Exec("INSERT INTO text_categories(id, name) VALUES(1, 'Liebe'), (2, 'Geburtstag'), "
            "(3, 'Spr\xFC"
            "che')");
    db.Exec("INSERT INTO texts(id, category, data) VALUES"
            "(11, 1, 'Ich denk an dich!'),"
            "(12, 1, 'Du fehlst mir. Bis bald!'),"
            "(21, 2, 'Alles Gute zum Geburtstag!'),"
            "(22, 2, 'Herzlichen Gl\xFC"
            "ckwunsch und feier sch\xF6n!'),"
            "(31, 3, 'Wer zuletzt lacht, hat es nicht eher verstanden.')");
    tx.Commit();
}

} // namespace riz::service
