#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace riz {

std::string ExecutablePath()
{
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string ProgramFolder()
{
    if (const char* home = std::getenv("RIZ_AVIVAZE_HOME"); home && *home) {
        std::string dir = home;
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        return dir;
    }
    const std::string exe = ExecutablePath();
    if (!exe.empty()) {
        const std::string dir = std::filesystem::path(exe).parent_path().string();
        if (::access(dir.c_str(), W_OK) == 0)
            return dir;
    }
    const char* userHome = std::getenv("HOME");
    return std::string(userHome && *userHome ? userHome : ".") + "/.local/share/riz-avivaze";
}

bool MakeFolder(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path(), ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return std::filesystem::is_directory(p, ec);
}

bool MakeOwnerOnlyFolder(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path(), ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // A folder left by an older installation may be wider open than it should be.
    if ((st.st_mode & 0777) != 0700)
        ::chmod(path.c_str(), 0700);
    return true;
}

} // namespace riz
