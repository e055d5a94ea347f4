#pragma once

#include "tasks/comtask.h"

namespace riz {

// SEND_SMS: the composed message to every receiver row. The answer's per-receiver queue ids and
// refusal codes go into the receiver rows, the balance into the customer row, the free-SMS count
// and the banner to show into the send values, new sponsor banners into the banner table.
class TComTaskSendSMS final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

// Deletes the banner rows last shown more than 14 days before now and lists the others as
// "<id><id>..." in row order.
std::string HeldBannerList(double now);

} // namespace riz
