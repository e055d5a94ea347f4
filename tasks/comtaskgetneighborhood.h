#pragma once

#include "tasks/comtask.h"

namespace riz {

// GET_NBRHD: the city and quarter candidates of a postal code and city into CDSNeighborhood.
class TComTaskGetNeighborhood final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
