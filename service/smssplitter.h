#pragma once

#include <string>
#include <vector>

namespace riz::service {

// Splits a message text into SMS parts of at most partLength characters. With keepWords the
// last word of a part is kept whole (the part breaks at the last blank or line break), and line
// breaks do not use room, so the count matches what the client's counter shows; without it the
// text is cut every partLength characters, line breaks included. Parts carry no padding.
std::vector<std::string> SplitIntoParts(const std::string& text, size_t partLength, bool keepWords);

} // namespace riz::service
