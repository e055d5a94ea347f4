#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_CREDIT_CHANGES: the account statement into CDSCreditChanges (never written).
class TComTaskLoadCreditChanges final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
