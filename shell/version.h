#pragma once

#include <string>

namespace riz {

// Whether the announced version is newer than the own one. Versions compare as plain byte
// strings, so "0.100.01" is not newer than "0.97.01"; the service announces versions in the
// same layout as the client's own.
inline bool IsNewerVersion(const std::string& latest, const std::string& own)
{
    return latest.compare(own) > 0;
}

} // namespace riz
