#pragma once

#include <string>

namespace riz {

// Starting with the desktop session: an XDG autostart entry
// ($XDG_CONFIG_HOME, else ~/.config)/autostart/riz-avivaze.desktop.
std::string AutoStartEntryPath();

// True when the entry exists and names a program.
bool IsAutoStartEnabled();

// Writes the entry starting programPath, or removes it. False when the autostart folder
// cannot be made or the entry cannot be written or removed.
bool SetAutoStartEnabled(bool enabled, const std::string& programPath);

} // namespace riz
