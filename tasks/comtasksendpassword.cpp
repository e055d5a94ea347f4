#include "tasks/comtasksendpassword.h"

#include "data/datamodulecust.h"

namespace riz {

void TComTaskSendPassword::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "SEND_PASSWORD", "1.00");
    message.AddParam(TCSParam("email_address", DataModuleCust->PasswordRequestEmail));
}

} // namespace riz
