#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_0190_NUMBERS: the premium-rate numbers that sell 50 and 200 credits.
class TComTaskGet0190Numbers final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
