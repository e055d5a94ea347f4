#pragma once

#include "shell/formbanner.h"

namespace riz {

class TDataModuleSMS;

// Takes the banner row of that id for showing: its picture goes through "temp_banner.bmp" in
// the data folder, and the row's LAST_CALL becomes now (written at once). False when the
// table holds no such row.
bool PrepareBannerShow(TDataModuleSMS& sms, int bannerId, TBannerShow& show);

// The sponsor banner after a sponsored send: the banner the send answer named, shown until
// its wait time has passed. Nothing happens when the row is missing.
void ShowSponsorBanner(QWidget* parent = nullptr);

} // namespace riz
