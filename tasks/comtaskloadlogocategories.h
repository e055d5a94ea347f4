#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_LOGO_CATEGORIES: replaces the logo and ringtone categories (one table serves both; the
// two task ids differ only in their progress text).
class TComTaskLoadLogoCategories final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
