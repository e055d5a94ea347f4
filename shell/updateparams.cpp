#include "shell/updateparams.h"

#include "data/appparam.h"

namespace riz {

std::string TAppParamUpdateParams::LatestVersion() const
{
    return m_params.sLatestVersion;
}

bool TAppParamUpdateParams::DontAskForUpdates() const
{
    return m_params.bDontAskForUpdates;
}

TDateTime TAppParamUpdateParams::LastAskedForUpdate() const
{
    return m_params.dtLastAskedForUpdate;
}

void TAppParamUpdateParams::SetDontAskForUpdates(bool value)
{
    m_params.SetDontAskForUpdates(value);
}

void TAppParamUpdateParams::SetLastAskedForUpdate(TDateTime value)
{
    m_params.SetLastAskedForUpdate(value);
}

} // namespace riz
