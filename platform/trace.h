#pragma once

#include <string>

namespace riz {

// One line "[date time] message" to the debug output; nothing is written to a file.
void Trace(const std::string& message);
// The line Trace writes, for tests.
std::string TraceLine(const std::string& message);

} // namespace riz
