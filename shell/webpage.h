#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace riz {

// What the home and help tabs need of a browser: go to an address, reload the shown page
// without the cache.
class IWebView
{
public:
    virtual ~IWebView() = default;
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const std::string& address) = 0;
    virtual void Reload() = 0;
};

using WebViewFactory = std::function<std::unique_ptr<IWebView>(QWidget* parent)>;
// Tests put a recording view in place of the browser; an empty factory restores it.
void SetWebViewFactory(WebViewFactory factory);

// A tab's page that holds a browser filling it. The browser is made the first time the page
// is shown (it is heavy, and most runs stay in the tray); an address given before that is
// loaded then.
class TWebPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWebPage)

public:
    explicit TWebPage(QWidget* parent = nullptr);
    ~TWebPage() override;

    void Navigate(const std::string& address);
    // Reloads the shown page without the cache; before the browser exists, nothing to do.
    void Reload();
    bool HasBrowser() const { return m_view != nullptr; }
    // Makes the browser now (the page is about to be shown).
    void EnsureBrowser();
    const std::string& Address() const { return m_address; }

private:
    std::unique_ptr<IWebView> m_view;
    std::string m_address;
};

} // namespace riz
