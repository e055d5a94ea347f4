#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_LATEST_VERSION: the newest client version, stored through the version check of every
// successful answer.
class TComTaskGetLatestVersion final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
