#pragma once

#include "tasks/comtask.h"

namespace riz {

// CONFIRM_REGISTRATION: checks the registration code the user typed.
class TComTaskConfirmRegistration final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
