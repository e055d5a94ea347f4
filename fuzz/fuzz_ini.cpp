// An INI file as a user or another program may have left it: read every key of every
// section in every type the parameters ask for.
#include "platform/inifile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/riz-fuzz-ini-" + std::to_string(getpid()) + ".ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    riz::TIniFile ini(path);
    for (const std::string& section : ini.Sections()) {
        for (const char* key : {"sServerList", "iHttpPort", "bProxyEnabled", "fVAT",
                                "dtLastAskedForUpdate", ""}) {
            (void)ini.ReadString(section, key, "");
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            (void)ini.ReadFloat(section, key, 0.0);
            (void)ini.ReadDateTime(section, key, 0.0);
        }
    }
    return 0;
}
