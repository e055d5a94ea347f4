#include "platform/strings.h"

#include "platform/text.h"
#include "platform/trace.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace riz {
namespace detail {
extern const unsigned char kStringTable[];
extern const std::size_t kStringTableSize;
} // namespace detail

namespace {

std::unordered_map<int, std::string>& Table()
{
    static std::unordered_map<int, std::string> table;
    static std::once_flag once;
    std::call_once(once, [] {
        const char* p = reinterpret_cast<const char*>(detail::kStringTable);
        const char* end = p + detail::kStringTableSize;
        while (p < end) {
            const char* eol = p;
            while (eol < end && *eol != '\n')
                ++eol;
            std::string line(p, eol);
            p = eol + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#')
                continue;
            const size_t tab = line.find('\t');
            if (tab == std::string::npos)
                continue;
            const int id = std::atoi(line.substr(0, tab).c_str());
            std::string text;
            const std::string raw = line.substr(tab + 1);
            for (size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size()) {
                    const char n = raw[i + 1];
                    if (n == 'n') {
                        text += '\n';
                        ++i;
                        continue;
                    }
                    if (n == 't') {
                        text += '\t';
                        ++i;
                        continue;
                    }
                    if (n == '\\') {
                        text += '\\';
                        ++i;
                        continue;
                    }
                }
                text += raw[i];
            }
            table[id] = Utf8ToCp1252(text);
        }
    });
    return table;
}

MissingStringHandler& Handler()
{
    static MissingStringHandler handler;
    return handler;
}

} // namespace

std::string LoadStr(int id)
{
    const auto& t = Table();
    auto it = t.find(id);
    if (it != t.end())
        return it->second;
    if (Handler())
        Handler()(id);
    else
        Trace("LoadStr: no string with id " + std::to_string(id));
    return "[" + std::to_string(id) + "]";
}

QString LoadQStr(int id)
{
    return ToQString(LoadStr(id));
}

bool HasStr(int id)
{
    return Table().count(id) != 0;
}

std::vector<int> AllStringIds()
{
    std::vector<int> ids;
    for (const auto& [id, text] : Table())
        ids.push_back(id);
    return ids;
}

void SetMissingStringHandler(MissingStringHandler handler)
{
    Handler() = std::move(handler);
}

} // namespace riz
