#include "protocol/servernames.h"

#include "protocol/ansicase.h"

#include <algorithm>

namespace riz {
namespace {

bool LessText(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return ansi::Upper(static_cast<unsigned char>(x)) < ansi::Upper(static_cast<unsigned char>(y));
    });
}

} // namespace

void TServerNames::Add(const std::string& name)
{
    auto it = std::lower_bound(m_list.begin(), m_list.end(), name, LessText);
    if (it != m_list.end() && ansi::SameText(*it, name))
        return;
    m_list.insert(it, name);
}

void TServerNames::SetServerList(const std::string& text)
{
    m_list.clear();
    m_current.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t semi = text.find(';', start);
        if (semi == std::string::npos)
            semi = text.size();
        std::string item = text.substr(start, semi - start);
        // Empty items (";;" or a trailing empty part) name no server.
        if (!item.empty() && item.back() == '*') {
            item.pop_back();
            if (!item.empty())
                m_current = item;
        }
        if (!item.empty())
            Add(item);
        if (semi == text.size())
            break;
        start = semi + 1;
    }
    m_walk = 0;
}

std::string TServerNames::GetServerList() const
{
    std::string out;
    for (const std::string& name : m_list) {
        out += name;
        if (ansi::SameText(name, m_current))
            out += '*';
        out += ';';
    }
    return out;
}

std::string TServerNames::CurrentServer()
{
    m_walk = 0;
    if (m_current.empty() && !m_list.empty())
        m_current = m_list.front();
    return m_current;
}

void TServerNames::SetCurrentServer(const std::string& name)
{
    Add(name);
    m_current = name;
    m_walk = 0;
}

std::string TServerNames::NextServer()
{
    const int n = static_cast<int>(m_list.size());
    if (n == 0 || m_walk >= n)
        return std::string();
    std::string name = m_list[static_cast<size_t>(m_walk)];
    if (name == m_current) {
        ++m_walk;
        if (m_walk >= n)
            return std::string();
        name = m_list[static_cast<size_t>(m_walk)];
    }
    ++m_walk;
    return name;
}

} // namespace riz
