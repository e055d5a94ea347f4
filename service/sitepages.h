#pragma once

#include <string>

namespace riz::service {

// The web pages the client shows on its home and help pages, and the support page. Returns
// false for any other name.
bool SitePage(const std::string& name, std::string& html);

} // namespace riz::service
