#include "service/phonecheck.h"

#include <array>
#include <string_view>

namespace riz::service {
namespace {

struct TCountryRule
{
    std::string_view Code;
    std::string_view AreaCodes; // mobile area codes, each followed by ","
    size_t MinDigits;           // national number, area code included
    size_t MaxDigits;
    bool Media; // logos and ringtones are delivered there
};

// The networks the service delivers to.
constexpr std::array<TCountryRule, 3> kCountries = {{
    {"49", "151,152,155,157,159,160,162,163,170,171,172,173,174,175,176,177,178,179,", 10, 11,
     true},
    {"43", "650,660,664,676,680,681,688,699,", 10, 13, false},
    {"41", "76,77,78,79,", 9, 9, false},
}};

bool StartsWithAreaCode(std::string_view national, std::string_view list)
{
    size_t start = 0;
    while (start < list.size()) {
        const size_t comma = list.find(',', start);
        const std::string_view code = list.substr(start, comma - start);
        if (national.substr(0, code.size()) == code)
            return true;
        start = comma + 1;
    }
    return false;
}

} // namespace

TPhoneCheck CheckReceiverNumber(const std::string& text)
{
    TPhoneCheck result;
    std::string digits;
    bool plus = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c == '+' && digits.empty() && !plus)
            plus = true;
        else if (c == ' ' || c == '-' || c == '/' || c == '(' || c == ')')
            continue;
        else {
            result.Code = 80;
            return result;
        }
    }
    if (!plus) {
        if (digits.rfind("00", 0) == 0)
            digits.erase(0, 2);
        else if (digits.rfind('0', 0) == 0)
            digits = "49" + digits.substr(1);
        else {
            result.Code = 80;
            return result;
        }
    }
    if (digits.size() < 4 || digits.size() > 20) {
        result.Code = 80;
        return result;
    }
    for (const auto& country : kCountries) {
        if (digits.compare(0, country.Code.size(), country.Code) != 0)
            continue;
        std::string national = digits.substr(country.Code.size());
        // "+49 (0)172 ..." carries the trunk prefix along.
        if (!national.empty() && national[0] == '0')
            national.erase(0, 1);
        result.CountryCode = std::string(country.Code);
        result.Number = "+" + result.CountryCode + national;
        if (!StartsWithAreaCode(national, country.AreaCodes))
            result.Code = 82;
        else if (national.size() < country.MinDigits || national.size() > country.MaxDigits)
            result.Code = 83;
        return result;
    }
    result.Number = "+" + digits;
    result.Code = 81;
    return result;
}

bool AcceptsMedia(const TPhoneCheck& phone)
{
    for (const auto& country : kCountries)
        if (phone.CountryCode == country.Code)
            return country.Media;
    return false;
}

} // namespace riz::service
