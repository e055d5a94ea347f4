#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_PAYMENT: one payment method (EditPaymentNick) into the temporary payment records.
class TComTaskDownloadPayment final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
