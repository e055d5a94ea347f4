#pragma once

#include "tasks/comtask.h"

namespace riz {

// ADD_CUSTOMER: registers the current customer record; the service's customer id goes into it.
class TComTaskUploadCustomer final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
