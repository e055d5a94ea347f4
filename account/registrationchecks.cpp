#include "account/registrationchecks.h"

#include "data/phonenumber.h"
#include "platform/datetime.h"
#include "platform/text.h"

#include <cstdlib>

namespace riz {

bool IsValidEmailAddress(const std::string& s)
{
    const size_t at = s.find('@');
    if (at == std::string::npos || at == 0)
        return false;
    if (s.rfind('@') != at)
        return false;
    const size_t dot = s.rfind('.');
    if (dot == std::string::npos || dot < at + 2)
        return false;
    if (s.size() - (dot + 1) > 3)
        return false;
    if (s.back() == '.' || (s.size() >= 2 && s[s.size() - 2] == '.'))
        return false;
    static const std::string kForbidden = "<>()[]\\,;:\"|/*?";
    return s.find_first_of(kForbidden) == std::string::npos;
}

int CheckNewUser(const TNewUserInput& in, const std::function<bool(const std::string&)>& profileExists)
{
    if (in.Email.empty() || !IsValidEmailAddress(in.Email))
        return 10601;
    if (in.Password.empty())
        return 10602;
    if (in.Password.size() < 4)
        return 10604;
    if (in.PasswordConfirmation != in.Password)
        return 10605;
    if (in.FirstName.empty() || in.LastName.empty())
        return 10606;
    if (profileExists(in.Email))
        return 10607;
    return 0;
}

int CheckExistingMember(const std::string& email, const std::string& password,
                        const std::function<bool(const std::string&)>& profileExists)
{
    if (email.empty() || !IsValidEmailAddress(email))
        return 10601;
    if (password.empty())
        return 10602;
    if (profileExists(email))
        return 10607;
    return 0;
}

bool IsRegistrationCodeForm(const std::string& code)
{
    if (code.size() != 29)
        return false;
    for (size_t i = 0; i < code.size(); ++i) {
        const bool dashPlace = i == 5 || i == 11 || i == 17 || i == 23;
        if (dashPlace != (code[i] == '-'))
            return false;
    }
    return true;
}

namespace {
bool ToInt(const std::string& text, int& out)
{
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(t.c_str(), &end, 10);
    if (*end != '\0' || v < -100000 || v > 100000)
        return false;
    out = static_cast<int>(v);
    return true;
}
} // namespace

int CheckOptionalData(const std::string& day, const std::string& month, const std::string& year,
                      const std::string& cellPhone, double& birthDate)
{
    birthDate = 0;
    if (!day.empty() || !month.empty() || !year.empty()) {
        int d = 0, m = 0, y = 0;
        if (!ToInt(day, d) || !ToInt(month, m) || !ToInt(year, y) ||
            !TryEncodeDate(y, m, d, birthDate))
            return 10610;
    }
    if (!cellPhone.empty()) {
        std::string national, country;
        if (!SplitPhoneNumber(cellPhone, '0', "49", national, country))
            return 11033;
    }
    return 0;
}

} // namespace riz
