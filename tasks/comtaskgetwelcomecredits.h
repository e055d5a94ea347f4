#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_WELCOME_CREDITS: has the welcome credit code sent by SMS to WelcomeNumber.
class TComTaskGetWelcomeCredits final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
