#pragma once

#include "tasks/comtask.h"

namespace riz {

// BUY_CREDITS: buys credits by the chosen payment option; the new balance and payment options.
class TComTaskBuyCredits final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
