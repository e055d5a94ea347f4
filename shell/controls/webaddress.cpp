#include "shell/controls/webaddress.h"

#include "platform/text.h"
#include "platform/trace.h"

#include <QDesktopServices>
#include <QUrl>

namespace riz {
namespace {
WebAddressOpener& Opener()
{
    static WebAddressOpener opener;
    return opener;
}
} // namespace

void SetWebAddressOpener(WebAddressOpener opener)
{
    Opener() = std::move(opener);
}

void OpenWebAddress(const std::string& address)
{
    if (address.empty())
        return;
    // Only web and mail addresses leave the program; anything else (a local file or a
    // command) is not handed to the desktop.
    const QUrl url = QUrl::fromUserInput(ToQString(address));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                           scheme != QLatin1String("mailto"))) {
        Trace("OpenWebAddress: not a web address: " + address);
        return;
    }
    if (Opener()) {
        Opener()(FromQString(url.toString()));
        return;
    }
    if (!QDesktopServices::openUrl(url))
        Trace("OpenWebAddress: no browser opened " + address);
}

} // namespace riz
