#include "tests/support/testpaths.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace riz::test {
namespace {
std::vector<std::filesystem::path>& Created()
{
    static std::vector<std::filesystem::path> dirs;
    static std::once_flag once;
    std::call_once(once, [] {
        std::atexit([] {
            std::error_code ec;
            for (const auto& d : Created())
                std::filesystem::remove_all(d, ec);
        });
    });
    return dirs;
}
} // namespace

std::string SourceDir()
{
    return RIZ_SOURCE_DIR;
}

std::string BinaryDir()
{
    return RIZ_BINARY_DIR;
}

std::string DataFile(const std::string& name)
{
    return SourceDir() + "/tests/data/" + name;
}

std::string TempDir(const std::string& hint)
{
    std::string templ = (std::filesystem::temp_directory_path() / (hint + "-XXXXXX")).string();
    char* made = mkdtemp(templ.data());
    if (!made)
        std::abort();
    Created().emplace_back(made);
    return made;
}

} // namespace riz::test
