#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_TEXTS: replaces the cached texts of the current text category.
class TComTaskLoadTexts final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
