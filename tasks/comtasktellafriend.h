#pragma once

#include "tasks/comtask.h"

namespace riz {

// TELL_A_FRIEND: recommends the service to the friends of the recommendation list.
class TComTaskTellAFriend final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
