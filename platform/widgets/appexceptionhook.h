#pragma once

#include <exception>
#include <functional>

namespace riz {

// Where an exception goes that no handler took: the program installs its application-wide
// handler here; until then it is traced and shown in an error box. Qt does not let exceptions
// cross its event loop, so every slot or timer that may raise ends in this call.
using ApplicationExceptionHandler = std::function<void(const std::exception&)>;
void SetApplicationExceptionHandler(ApplicationExceptionHandler handler);
void ReportApplicationException(const std::exception& e);

} // namespace riz
