#include "shell/controls/shellrequests.h"

namespace riz {
namespace {
std::function<void(int)>& UpdateHandler()
{
    static std::function<void(int)> handler;
    return handler;
}
std::function<void(QWidget*)>& BannerHandler()
{
    static std::function<void(QWidget*)> handler;
    return handler;
}
} // namespace

void RequestUpdateCheck(int mode)
{
    if (UpdateHandler())
        UpdateHandler()(mode);
}

void RequestSponsorBanner(QWidget* parent)
{
    if (BannerHandler())
        BannerHandler()(parent);
}

void SetUpdateCheckHandler(std::function<void(int)> handler)
{
    UpdateHandler() = std::move(handler);
}

void SetSponsorBannerHandler(std::function<void(QWidget*)> handler)
{
    BannerHandler() = std::move(handler);
}

} // namespace riz
