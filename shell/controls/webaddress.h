#pragma once

#include <functional>
#include <string>

namespace riz {

// Opens a web address (Windows-1252) in the user's browser; reports nothing. Only http,
// https and mailto addresses are opened; a bare host name is read as http.
void OpenWebAddress(const std::string& address);

// Tests replace the browser, which then receives the address as it would have been opened;
// an empty opener restores the browser.
using WebAddressOpener = std::function<void(const std::string& address)>;
void SetWebAddressOpener(WebAddressOpener opener);

} // namespace riz
