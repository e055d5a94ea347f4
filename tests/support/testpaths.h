#pragma once

#include <string>

namespace riz::test {

// A fixture file below tests/data/.
std::string DataFile(const std::string& name);
// The repository root and the build tree.
std::string SourceDir();
std::string BinaryDir();
// A new empty folder below the system's temporary folder, removed at exit.
std::string TempDir(const std::string& hint = "riz");

} // namespace riz::test
