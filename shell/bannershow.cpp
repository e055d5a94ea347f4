#include "shell/bannershow.h"

#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/trace.h"

#include <QFile>

namespace riz {

bool PrepareBannerShow(TDataModuleSMS& sms, int bannerId, TBannerShow& show)
{
    TClientDataSet& t = sms.CDSBanner;
    if (!t.Active() || !t.Locate("BANNER_ID", TValue(std::int32_t(bannerId))))
        return false;
    const std::string picture = t.FieldByName("BANNER").AsString();
    show.Link = t.FieldByName("LINK").AsString();
    show.WaitTime = t.FieldByName("WAIT_TIME").AsInteger();

    QFile file(ToQString(sms.TempBannerFile));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(picture.data(), static_cast<qint64>(picture.size())) ==
            static_cast<qint64>(picture.size())) {
        file.close();
        show.Picture.load(file.fileName());
    } else {
        Trace("banner picture not written: " + sms.TempBannerFile);
    }
    if (show.Picture.isNull())
        Trace("banner picture unreadable, banner " + std::to_string(bannerId));

    t.Edit();
    t.FieldByName("LAST_CALL").SetAsDateTime(Clock::Now());
    t.Post();
    sms.CommitBanners();
    return true;
}

void ShowSponsorBanner(QWidget* parent)
{
    if (!DataModuleSMS)
        return;
    TBannerShow show;
    if (!PrepareBannerShow(*DataModuleSMS, DataModuleSMS->BannerToShow, show))
        return;
    TFormBanner::ShowBanner(show, parent);
}

} // namespace riz
