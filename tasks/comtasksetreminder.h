#pragma once

#include "tasks/comtask.h"

#include <array>

namespace riz {

// The customer row's reminder options, as the requests name them (their fields are the same
// names in upper case).
const std::array<const char*, 5>& ReminderOptionNames();

// SAVE_REMINDER_LIST: the reminder options and the logged-in profile's events.
class TComTaskSetReminder final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
