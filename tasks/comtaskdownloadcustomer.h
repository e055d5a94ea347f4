#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_CUSTOMER: an existing customer's data, addresses and payment nick names into the current
// customer record, logged in with the download credentials.
class TComTaskDownloadCustomer final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
