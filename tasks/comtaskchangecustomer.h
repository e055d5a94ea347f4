#pragma once

#include "tasks/comtask.h"

namespace riz {

// CHANGE_CUSTOMER: sends one change of the customer's data, addresses or payment methods. The
// operation tells which: 1 general data, e-mail and password; 11 replace, 12 add, 13 delete an
// address; 21 replace, 22 add, 23 delete a payment method. The answer carries nothing beyond
// "rslt".
class TComTaskChangeCustomer final : public TComTaskZK
{
public:
    TComTaskChangeCustomer(int taskId, int operation);

    // The operation the runner gives a task id of 50421 ... 50427; 0 for any other id.
    static int OperationOf(int taskId);

    int Operation = 0;

protected:
    void AssembleDataString(TCSDataString& message) override;
};

} // namespace riz
