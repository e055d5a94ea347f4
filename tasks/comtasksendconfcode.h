#pragma once

#include "tasks/comtask.h"

namespace riz {

// SEND_CONF_CODE: asks the service to mail the registration code again.
class TComTaskSendConfCode final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
