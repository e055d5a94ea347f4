#pragma once

#include <string>

namespace riz {

// The running program file ("/proc/self/exe"); empty when it cannot be found.
std::string ExecutablePath();

// The program folder: $RIZ_AVIVAZE_HOME when set, else the executable's folder when it is
// writable, else ~/.local/share/riz-avivaze. No trailing slash.
std::string ProgramFolder();

// Creates the folder and its parents when missing (owner-only); an existing one is left alone.
bool MakeFolder(const std::string& path);

// Creates the folder (and its parents) and makes it readable by its owner only. False when
// it cannot be created.
bool MakeOwnerOnlyFolder(const std::string& path);

} // namespace riz
