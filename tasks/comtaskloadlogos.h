#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_LOGOS: replaces the cached logos or ringtones of the current catalog category.
class TComTaskLoadLogos final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
