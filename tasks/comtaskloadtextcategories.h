#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_TEXT_CATEGORIES: replaces the categories of the text catalog.
class TComTaskLoadTextCategories final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
