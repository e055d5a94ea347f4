#include "platform/inifile.h"

#include "platform/datetime.h"
#include "platform/text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace riz {

TIniFile::TIniFile(std::string path) : m_path(std::move(path))
{
    Reload();
}

void TIniFile::Reload()
{
    m_preamble.clear();
    m_sections.clear();
    m_unreadable = false;
    std::error_code ec;
    const auto status = std::filesystem::status(m_path, ec);
    if (!std::filesystem::exists(status))
        return; // a missing file is an empty profile
    std::ifstream in(m_path, std::ios::binary);
    if (!std::filesystem::is_regular_file(status) || !in) {
        m_unreadable = true;
        return;
    }
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::string t = Trim(raw);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            m_sections.push_back(Section{Trim(t.substr(1, t.size() - 2)), {}});
            continue;
        }
        Line line;
        const std::size_t eq = raw.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string::npos) {
            line.key = Trim(raw.substr(0, eq));
            line.value = Trim(raw.substr(eq + 1));
        }
        line.text = raw;
        if (m_sections.empty())
            m_preamble.push_back(std::move(line));
        else
            m_sections.back().lines.push_back(std::move(line));
    }
}

const TIniFile::Line* TIniFile::Find(const std::string& section, const std::string& key) const
{
    for (const Section& s : m_sections) {
        if (!AnsiSameText(s.name, section))
            continue;
        for (const Line& l : s.lines) {
            if (!l.key.empty() && AnsiSameText(l.key, key))
                return &l;
        }
    }
    return nullptr;
}

TIniFile::Section& TIniFile::SectionFor(const std::string& section)
{
    for (Section& s : m_sections) {
        if (AnsiSameText(s.name, section))
            return s;
    }
    m_sections.push_back(Section{section, {}});
    return m_sections.back();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return Find(section, key) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const
{
    const Line* l = Find(section, key);
    return l ? l->value : def;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    const Line* l = Find(section, key);
    if (!l || l->value.empty())
        return def;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(l->value.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return def;
    return static_cast<int>(v);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double def) const
{
    const Line* l = Find(section, key);
    if (!l || l->value.empty())
        return def;
    std::string s = l->value;
    for (char& c : s) {
        if (c == ',')
            c = '.';
    }
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(v))
        return def;
    return v;
}

double TIniFile::ReadDateTime(const std::string& section, const std::string& key, double def) const
{
    const Line* l = Find(section, key);
    if (!l)
        return def;
    TDateTime v = 0;
    return TryParseShortDateTime(l->value, v) ? v : def;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    Section& s = SectionFor(section);
    for (Line& l : s.lines) {
        if (!l.key.empty() && AnsiSameText(l.key, key)) {
            l.value = value;
            l.text = l.key + "=" + value;
            return;
        }
    }
    // A new key goes after the section's last key, before trailing blank lines.
    std::size_t at = s.lines.size();
    while (at > 0 && Trim(s.lines[at - 1].text).empty())
        --at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at),
                   Line{key + "=" + value, key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, FloatText(value));
}

void TIniFile::WriteDateTime(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, DateTimeText(value));
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    for (Section& s : m_sections) {
        if (!AnsiSameText(s.name, section))
            continue;
        std::erase_if(s.lines,
                      [&](const Line& l) { return !l.key.empty() && AnsiSameText(l.key, key); });
    }
}

std::vector<std::string> TIniFile::Sections() const
{
    std::vector<std::string> names;
    for (const Section& s : m_sections)
        names.push_back(s.name);
    return names;
}

std::string TIniFile::FloatText(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s = buf;
    for (char& c : s) {
        if (c == '.')
            c = ',';
    }
    return s;
}

std::string TIniFile::DateTimeText(double value)
{
    // As the regional date-time text: the time is left out at midnight.
    if (TimeOf(value) == 0)
        return FormatShortDate(value);
    return FormatShortDateTime(value);
}

void TIniFile::UpdateFile()
{
    // Replacing a file that could not be read would lose whatever it holds.
    if (m_unreadable)
        throw std::runtime_error(m_path +
                                 ": die Datei konnte nicht gelesen werden und wird nicht ersetzt");
    std::string out;
    for (const Line& l : m_preamble)
        out += l.text + "\n";
    for (const Section& s : m_sections) {
        out += "[" + s.name + "]\n";
        for (const Line& l : s.lines)
            out += l.text + "\n";
    }

    const std::filesystem::path target(m_path);
    const std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".tmp")).string();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error(m_path + ": " + std::strerror(errno));
    ::fchmod(fd, 0600); // also when an old temporary file was there
    const char* p = out.data();
    std::size_t left = out.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    const int err = errno;
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || ::rename(temp.c_str(), m_path.c_str()) != 0) {
        const std::string reason = std::strerror(ok ? errno : err);
        ::unlink(temp.c_str());
        throw std::runtime_error(m_path + ": " + reason);
    }
    const std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace riz
