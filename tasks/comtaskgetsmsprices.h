#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_SMS_PRICES: the discounts table, the bank data for transfers and the prices.
class TComTaskGetSMSPrices final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
