#include "tasks/comtasksendconfcode.h"

namespace riz {

void TComTaskSendConfCode::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "SEND_CONF_CODE", "1.00");
    AddLogin(message);
}

} // namespace riz
