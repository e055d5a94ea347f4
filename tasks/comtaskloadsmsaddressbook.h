#pragma once

#include "tasks/comtask.h"

namespace riz {

// LOAD_SMS_ADDRESS_BOOK: replaces the logged-in profile's address book by the server's backup.
class TComTaskLoadSMSAddressBook final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

} // namespace riz
