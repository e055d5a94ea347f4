#pragma once

#include "tasks/comtask.h"

namespace riz {

// SAVE_TREE: the organizer folder of every sent message part, by its server id.
class TComTaskSaveTree final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
