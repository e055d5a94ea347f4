#pragma once

#include <functional>

class QWidget;

namespace riz {

// What the pages and dialogs of the feature folders ask of the shell, which sits above them:
// the update offer after a user action (mode 1) and the sponsor banner after a sponsored
// send. The main window installs the handlers; without them the requests do nothing.
void RequestUpdateCheck(int mode);
void RequestSponsorBanner(QWidget* parent);

void SetUpdateCheckHandler(std::function<void(int mode)> handler);
void SetSponsorBannerHandler(std::function<void(QWidget* parent)> handler);

} // namespace riz
