#pragma once

#include <string>
#include <vector>

namespace riz {

// The program's folders and the reseller number. The program folder is found as
// ProgramFolder() says (or given, for tests); the data folder "db" below it is created
// readable by its owner only, since the table files hold passwords.
class TDataCollection final
{
public:
    TDataCollection();
    explicit TDataCollection(const std::string& programDir);

    std::string ProgramDir; // no trailing slash
    std::string DataDir;    // ProgramDir + "/db"
    // "iResellerId" of section [reseller] of an optional "reseller.ini" beside the program;
    // 0 when it is missing or no number.
    int ResellerId = 0;

private:
    void Init(const std::string& programDir);
};

// The one instance, created by the main window.
extern TDataCollection* DataCollection;

struct TZKCountry
{
    std::string Code;            // "de"
    int NameId = 0;              // string-table id of the name
    std::string DialCode;        // "49"
    std::string Currencies;      // "DEM;EUR"
    std::string CurrencySymbols; // Windows-1252
    std::string PaymentMethodTags;
};
using TZKCountries = std::vector<TZKCountry>;

// The compiled-in country table.
const TZKCountries& DataCollectionCountry();
// The payment method tags of a country code (exact comparison); empty for an unknown code.
std::string CountryPaymentMethodTags(const std::string& code);

} // namespace riz
