#pragma once

#include "tasks/comtask.h"

namespace riz {

// DELETE_SMS_HISTORY: removes the history entries whose server ids the organizer listed.
class TComTaskDeleteSMSHistory final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
