#pragma once

#include "shell/updateoffer.h"

namespace riz {

class TAppParam;

// The update offer's view of the application parameters.
class TAppParamUpdateParams final : public IUpdateParams
{
public:
    explicit TAppParamUpdateParams(TAppParam& params) : m_params(params) {}

    std::string LatestVersion() const override;
    bool DontAskForUpdates() const override;
    TDateTime LastAskedForUpdate() const override;
    void SetDontAskForUpdates(bool value) override;
    void SetLastAskedForUpdate(TDateTime value) override;

private:
    TAppParam& m_params;
};

} // namespace riz
