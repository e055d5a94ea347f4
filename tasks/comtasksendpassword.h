#pragma once

#include "tasks/comtask.h"

namespace riz {

// SEND_PASSWORD: asks the service to mail the password to the address the user typed.
class TComTaskSendPassword final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
