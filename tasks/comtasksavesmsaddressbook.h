#pragma once

#include "tasks/comtask.h"

#include <string>
#include <vector>

namespace riz {

// The columns of the address book as it travels in both directions, in their order.
const std::vector<std::string>& AddressBookColumns();

// SAVE_SMS_ADDRESS_BOOK: the logged-in profile's address book as the server's backup.
class TComTaskSaveSMSAddressBook final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
