#pragma once

#include <string>

namespace riz {

// Splits a phone number in any accepted spelling into country code and national number.
// Accepted: digits, a "+" as the very first character, and the separators blank ( ) / -.
// A leading trunk prefix stands for "+" and the default country code; the trunk prefix after
// the country code is dropped ("+49 (0)172 ..." gives "172..."). Both outputs are emptied
// first, so they are empty after a failure.
bool SplitPhoneNumber(const std::string& number, char trunkPrefix,
                      const std::string& defaultCountryCode, std::string& nationalNumber,
                      std::string& countryCode);

// The digits of the text in their order; every other character dropped.
std::string PhoneDigits(const std::string& text);

// Removes the separators from an accepted number ("+" only first). False for an empty text or
// a character that is no digit or separator; the text then stays as it was.
bool StripPhoneSeparators(std::string& number);

} // namespace riz
