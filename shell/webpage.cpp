#include "shell/webpage.h"

#include "platform/text.h"

#include <QVBoxLayout>
#include <QWebEngineView>

namespace riz {
namespace {

class TWebEngineView final : public IWebView
{
public:
    explicit TWebEngineView(QWidget* parent) : m_view(new QWebEngineView(parent)) {}
    QWidget* Widget() override { return m_view; }
    void Navigate(const std::string& address) override
    {
        m_view->setUrl(QUrl::fromUserInput(ToQString(address)));
    }
    void Reload() override { m_view->triggerPageAction(QWebEnginePage::ReloadAndBypassCache); }

private:
    QWebEngineView* m_view; // owned by the page through its parent
};

WebViewFactory& Factory()
{
    static WebViewFactory factory;
    return factory;
}

} // namespace

void SetWebViewFactory(WebViewFactory factory)
{
    Factory() = std::move(factory);
}

TWebPage::TWebPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

TWebPage::~TWebPage() = default;

void TWebPage::EnsureBrowser()
{
    if (m_view)
        return;
    m_view = Factory() ? Factory()(this) : std::make_unique<TWebEngineView>(this);
    layout()->addWidget(m_view->Widget());
    if (!m_address.empty())
        m_view->Navigate(m_address);
}

void TWebPage::Navigate(const std::string& address)
{
    m_address = address;
    if (m_view)
        m_view->Navigate(address);
}

void TWebPage::Reload()
{
    if (m_view)
        m_view->Reload();
}

} // namespace riz
