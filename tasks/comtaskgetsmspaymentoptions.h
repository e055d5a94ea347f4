#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_SMS_PAYMENT_OPTIONS: the payment tags the service allows now.
class TComTaskGetSMSPaymentOptions final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
