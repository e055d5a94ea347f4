#pragma once

#include <string>

namespace riz::service {

// A receiver number checked against the networks the service delivers to.
struct TPhoneCheck
{
    int Code = 0;            // 0, or the receiver code 80..83
    std::string Number;      // international form "+4917..." when readable
    std::string CountryCode; // "49", "43", "41"
};

// Reads "+49 172 5555555", "0172/5555555" and "00491725555555" alike; separators
// (blank, "-", "/", "(", ")") are ignored. 80 unreadable, 81 country not served, 82 no mobile
// area code of that country, 83 wrong length.
TPhoneCheck CheckReceiverNumber(const std::string& text);

// Whether logos and ringtones reach this (already checked) number.
bool AcceptsMedia(const TPhoneCheck& phone);

} // namespace riz::service
