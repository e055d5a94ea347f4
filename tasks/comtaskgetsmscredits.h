#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_SMS_CREDITS: the logged-in customer's balance into the customer row's CREDITS.
class TComTaskGetSMSCredits final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
