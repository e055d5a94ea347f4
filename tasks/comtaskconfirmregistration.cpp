#include "tasks/comtaskconfirmregistration.h"

#include "data/datamodulecust.h"

namespace riz {

void TComTaskConfirmRegistration::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "CONFIRM_REGISTRATION", "1.00");
    message.AddParam(TCSParam::Int(
        "customer_id", DataModuleCust->CDSCustomer.FieldByName("CUSTOMER_ID").AsInteger()));
    message.AddParam(TCSParam("conf_code", DataModuleCust->RegistrationCode));
}

} // namespace riz
