#include "tasks/comtaskgetlatestversion.h"

namespace riz {

void TComTaskGetLatestVersion::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_LATEST_VERSION", "1.00");
    AddLogin(message);
}

} // namespace riz
