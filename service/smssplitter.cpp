#include "service/smssplitter.h"

namespace riz::service {
namespace {

size_t CountLineBreaks(const std::string& text)
{
    size_t count = 0;
    for (size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 2))
        ++count;
    return count;
}

bool IsLineBreakAt(const std::string& s, size_t pos) // 0-based
{
    return pos + 1 < s.size() && s[pos] == '\r' && s[pos + 1] == '\n';
}

// Takes one part from the front of rest, keeping the last word whole.
std::string TakeNextPart(std::string& rest, size_t length)
{
    std::string part = rest.substr(0, length);
    size_t pairs = CountLineBreaks(part);
    while (pairs > 0 && part.size() < rest.size()) {
        const std::string extra = rest.substr(part.size(), 2 * pairs);
        part += extra;
        pairs = CountLineBreaks(extra);
    }
    const size_t n = part.size();
    // Positions below are 0-based: the part's last character is n - 1.
    const bool splitsWord = rest.size() > n && rest[n - 1] != ' ' && rest[n] != ' ' &&
                            !(n >= 2 && IsLineBreakAt(rest, n - 2)) &&
                            !IsLineBreakAt(rest, n - 1) && !IsLineBreakAt(rest, n);
    if (!splitsWord) {
        rest.erase(0, n);
        return part;
    }
    for (size_t f = n; f-- > 0;) {
        if (part[f] == ' ') {
            rest.erase(0, f + 1);
            return part.substr(0, f);
        }
        if (IsLineBreakAt(part, f)) {
            rest.erase(0, f + 2);
            return part.substr(0, f);
        }
    }
    // One word fills the whole part.
    rest.erase(0, n);
    return part;
}

} // namespace

std::vector<std::string> SplitIntoParts(const std::string& text, size_t partLength, bool keepWords)
{
    std::vector<std::string> parts;
    if (partLength == 0)
        return parts;
    if (!keepWords) {
        for (size_t pos = 0; pos < text.size(); pos += partLength)
            parts.push_back(text.substr(pos, partLength));
        return parts;
    }
    std::string rest = text;
    while (!rest.empty())
        parts.push_back(TakeNextPart(rest, partLength));
    return parts;
}

} // namespace riz::service
