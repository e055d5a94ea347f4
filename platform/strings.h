#pragma once

#include <QString>
#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace riz {

// The numbered string table (resources/strings.tsv). Texts come back as Windows-1252 bytes.
// A missing id is a programming error: it is reported to the missing-string handler (tests
// install one that fails the test) and the text "[NNNN]" is returned.
std::string LoadStr(int id);
QString LoadQStr(int id);
bool HasStr(int id);
std::vector<int> AllStringIds();

using MissingStringHandler = std::function<void(int id)>;
void SetMissingStringHandler(MissingStringHandler handler);

// printf-style formatting of a string-table text; std::string arguments are passed as texts.
namespace detail {
template <typename T> auto FormatArg(const T& v)
{
    if constexpr (std::is_same_v<std::decay_t<T>, std::string>)
        return v.c_str();
    else
        return v;
}
} // namespace detail

template <typename... Args> std::string Format(const std::string& fmt, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return fmt;
    } else {
        const int n = std::snprintf(nullptr, 0, fmt.c_str(), detail::FormatArg(args)...);
        if (n <= 0)
            return std::string();
        std::string out(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(out.data(), out.size(), fmt.c_str(), detail::FormatArg(args)...);
        out.resize(static_cast<size_t>(n));
        return out;
    }
}

} // namespace riz
