#include "platform/autostart.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace riz {
namespace {

// The Exec key's quoting of the desktop entry format: the argument in double quotes with
// '"', '`', '$' and '\' escaped, then every '\' of the string value doubled.
std::string ExecValue(const std::string& program)
{
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\')
            value += '\\';
        value += c;
    }
    return value;
}

} // namespace

std::string AutoStartEntryPath()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else
        base = std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return base + "/autostart/riz-avivaze.desktop";
}

bool IsAutoStartEnabled()
{
    std::ifstream in(AutoStartEntryPath());
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0)
            return line.size() > 5;
    }
    return false;
}

bool SetAutoStartEnabled(bool enabled, const std::string& programPath)
{
    const std::filesystem::path entry(AutoStartEntryPath());
    std::error_code ec;
    if (!enabled) {
        std::filesystem::remove(entry, ec);
        return !ec;
    }
    std::filesystem::create_directories(entry.parent_path(), ec);
    if (ec)
        return false;
    const std::filesystem::path temp = entry.parent_path() / ".riz-avivaze.desktop.tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Parvion RIZ Avivaze\n"
               "Exec="
            << ExecValue(programPath)
            << "\n"
               "X-GNOME-Autostart-enabled=true\n";
        if (!out.flush())
            return false;
    }
    std::filesystem::rename(temp, entry, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace riz
