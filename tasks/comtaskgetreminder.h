#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_REMINDER_LIST: the reminder options into the customer row and the server's events in
// place of the logged-in profile's.
class TComTaskGetReminder final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
