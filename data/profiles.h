#pragma once

#include <functional>
#include <string>
#include <vector>

namespace riz {

enum class TRemoveProfileResult
{
    NoneSelected, // message 10201
    LoggedIn,     // message 10202
    Declined,     // question 20201 answered No
    Removed
};

// Asks a Yes/No question: the string-table id and the text filled in; true for Yes.
using TAskQuestion = std::function<bool(int id, const std::string& text)>;
// Shows an error message by string-table id.
using TShowError = std::function<void(int id)>;

// Removes a profile from this PC for good, as the settings dialog offers it: refused without
// a selection (10201) or for the logged-in profile (10202); otherwise after question 20201
// the profile's rows go from every per-profile table (and their files), its addresses and
// payment nick names and its row go, the customer file is written, and the logged-in profile
// is selected again.
TRemoveProfileResult RemoveProfile(const std::string& selectedEmail, const TAskQuestion& ask,
                                   const TShowError& showError);

// The default-profile choice of the settings dialog after a removal: when the removed address
// was the chosen default and "log in this user" is on, the first remaining address becomes
// the choice, and with more than one remaining the dialog switches to "show a list".
struct TDefaultProfileChoice
{
    std::string Chosen;
    bool PromptForUser = false;
};
TDefaultProfileChoice DefaultChoiceAfterRemoval(const std::vector<std::string>& remaining,
                                                const std::string& removed,
                                                const TDefaultProfileChoice& before);

} // namespace riz
