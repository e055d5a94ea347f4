#pragma once

#include <string>

namespace riz {

// Which page the help tab shows: normally the help page; "Kundenservice" puts the support
// page in for one visit.
class THelpPageState final
{
public:
    explicit THelpPageState(std::string helpPage = std::string())
        : m_help(std::move(helpPage)), m_toShow(m_help)
    {}

    void SetHelpPage(const std::string& page)
    {
        m_help = page;
        m_toShow = page;
    }
    void SetPageToShow(const std::string& page) { m_toShow = page; }
    const std::string& PageToShow() const { return m_toShow; }
    const std::string& LastShown() const { return m_lastShown; }

    // The help tab is shown: a page that differs from the last one shown is navigated to
    // (true, with the address); otherwise the shown page is to be reloaded (false).
    bool Show(std::string& navigateTo)
    {
        if (m_toShow != m_lastShown) {
            navigateTo = m_toShow;
            m_lastShown = m_toShow;
            m_toShow = m_help;
            return true;
        }
        return false;
    }

private:
    std::string m_help;
    std::string m_toShow;
    std::string m_lastShown;
};

} // namespace riz
