#include "data/datacollection.h"

#include "platform/inifile.h"
#include "platform/paths.h"

namespace riz {

TDataCollection* DataCollection = nullptr;

TDataCollection::TDataCollection()
{
    Init(ProgramFolder());
}

TDataCollection::TDataCollection(const std::string& programDir)
{
    Init(programDir);
}

void TDataCollection::Init(const std::string& programDir)
{
    ProgramDir = programDir;
    while (ProgramDir.size() > 1 && ProgramDir.back() == '/')
        ProgramDir.pop_back();
    DataDir = ProgramDir + "/db";
    // The program folder may be the executable's own: it is created when missing, never
    // narrowed. The data folder holds passwords and is kept to its owner.
    MakeFolder(ProgramDir);
    MakeOwnerOnlyFolder(DataDir);
    const TIniFile reseller(ProgramDir + "/reseller.ini");
    ResellerId = reseller.ReadInteger("reseller", "iResellerId", 0);
}

const TZKCountries& DataCollectionCountry()
{
    static const TZKCountries countries = {
        {"de", 51201, "49", "DEM;EUR", "DM;\x80",
         "<CSH><BEZ><CHK><ATMD><CC><VISA><MC><AMEX><DNRS><DSCV>"},
        {"us", 51202, "1", "USD", "$", "<CSH><CHK><ATMD><CC><VISA><MC><AMEX><DNRS><DSCV>"},
    };
    return countries;
}

std::string CountryPaymentMethodTags(const std::string& code)
{
    for (const TZKCountry& c : DataCollectionCountry()) {
        if (c.Code == code)
            return c.PaymentMethodTags;
    }
    return std::string();
}

} // namespace riz
