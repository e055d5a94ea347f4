#include "data/phonenumber.h"

#include <array>
#include <string_view>

namespace riz {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsSeparator(char c)
{
    return c == ' ' || c == '(' || c == ')' || c == '/' || c == '-';
}

// The one- and two-digit country codes of E.164; every other code has three digits.
constexpr std::string_view kTwoDigitCodes =
    "20,27,30,31,32,33,34,36,39,40,41,43,44,45,46,47,48,49,51,52,53,54,55,56,57,58,60,61,62,63,"
    "64,65,66,81,82,84,86,90,91,92,93,94,95,98";

bool IsTwoDigitCode(std::string_view code)
{
    for (std::size_t i = 0; i + 2 <= kTwoDigitCodes.size(); i += 3) {
        if (kTwoDigitCodes.substr(i, 2) == code)
            return true;
    }
    return false;
}

} // namespace

bool SplitPhoneNumber(const std::string& number, char trunkPrefix,
                      const std::string& defaultCountryCode, std::string& nationalNumber,
                      std::string& countryCode)
{
    nationalNumber.clear();
    countryCode.clear();
    std::string collected;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (IsDigit(c) || (c == '+' && i == 0))
            collected += c;
        else if (!IsSeparator(c))
            return false;
    }
    if (!collected.empty() && collected[0] == trunkPrefix)
        collected = "+" + defaultCountryCode + collected.substr(1);
    if (collected.size() < 4 || collected[0] != '+')
        return false;

    std::size_t codeLength;
    if (collected[1] == '1' || collected[1] == '7')
        codeLength = 1;
    else if (IsTwoDigitCode(std::string_view(collected).substr(1, 2)))
        codeLength = 2;
    else
        codeLength = 3;
    countryCode = collected.substr(1, codeLength);
    nationalNumber = collected.substr(1 + codeLength);
    if (!nationalNumber.empty() && nationalNumber[0] == trunkPrefix)
        nationalNumber.erase(0, 1);
    return true;
}

std::string PhoneDigits(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (IsDigit(c))
            digits += c;
    }
    return digits;
}

bool StripPhoneSeparators(std::string& number)
{
    if (number.empty())
        return false;
    std::string kept;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (IsSeparator(c))
            continue;
        if (IsDigit(c) || (c == '+' && i == 0))
            kept += c;
        else
            return false;
    }
    number = kept;
    return true;
}

} // namespace riz
