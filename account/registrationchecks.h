#pragma once

#include <functional>
#include <string>

namespace riz {

// The shared e-mail address check: exactly one "@" not in front, a "." at least two places
// after it, two or three characters after the last ".", none of <>()[]\,;:"|/*?.
bool IsValidEmailAddress(const std::string& address);

// The fields of the new-user dialog's first page.
struct TNewUserInput
{
    std::string Email;
    std::string Password;
    std::string PasswordConfirmation;
    std::string FirstName;
    std::string LastName;
};

// The first failing check of a new registration as a message id, 0 when all hold.
// profileExists looks a local profile up by address (ignoring case).
int CheckNewUser(const TNewUserInput& in, const std::function<bool(const std::string&)>& profileExists);
// The same for an existing member's download: address, password, no local profile yet.
int CheckExistingMember(const std::string& email, const std::string& password,
                        const std::function<bool(const std::string&)>& profileExists);

// A registration code has the form XXXXX-XXXXX-XXXXX-XXXXX-XXXXX: 29 characters with "-" at
// positions 6, 12, 18 and 24 (the characters between are not checked).
bool IsRegistrationCodeForm(const std::string& code);

// The optional data of the second page. Birthday: all three fields empty gives 0 (no date);
// otherwise they must form a valid date, else 10610. A mobile number, when given, must be a
// phone number with the default country code 49, else 11033. 0 when all hold.
int CheckOptionalData(const std::string& day, const std::string& month, const std::string& year,
                      const std::string& cellPhone, double& birthDate);

} // namespace riz
