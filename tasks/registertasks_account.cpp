#include "tasks/comtaskbuycredits.h"
#include "tasks/comtaskchangecustomer.h"
#include "tasks/comtaskconfirmregistration.h"
#include "tasks/comtaskdownloadcustomer.h"
#include "tasks/comtaskdownloadpayment.h"
#include "tasks/comtaskget0190numbers.h"
#include "tasks/comtaskgetneighborhood.h"
#include "tasks/comtaskgetsmscredits.h"
#include "tasks/comtaskgetsmspaymentoptions.h"
#include "tasks/comtaskgetsmsprices.h"
#include "tasks/comtaskgetwelcomecredits.h"
#include "tasks/comtaskloadcreditchanges.h"
#include "tasks/comtasksendconfcode.h"
#include "tasks/comtasksendpassword.h"
#include "tasks/comtasktellafriend.h"
#include "tasks/comtaskuploadcustomer.h"
#include "tasks/registertasks.h"
#include "tasks/taskfactory.h"

namespace riz {
namespace {

template <typename T> void Register(int taskId)
{
    RegisterTask(taskId, [](int id) { return std::make_unique<T>(id); });
}

} // namespace

// The account tasks and the credit and payment tasks.
void RegisterCreditAndAccountTasks()
{
    Register<TComTaskUploadCustomer>(50411);
    Register<TComTaskDownloadCustomer>(50412);
    Register<TComTaskDownloadPayment>(50413);
    Register<TComTaskGetNeighborhood>(50414);
    // One class for the seven change operations; the id gives the operation.
    for (int taskId : {50421, 50422, 50423, 50424, 50425, 50426, 50427})
        RegisterTask(taskId, [](int id) {
            return std::make_unique<TComTaskChangeCustomer>(
                id, TComTaskChangeCustomer::OperationOf(id));
        });
    Register<TComTaskSendPassword>(50431);
    Register<TComTaskConfirmRegistration>(50432);
    Register<TComTaskTellAFriend>(50433);
    Register<TComTaskSendConfCode>(50434);

    Register<TComTaskGetSMSPrices>(50451);
    Register<TComTaskGetSMSCredits>(50452);
    Register<TComTaskGetSMSPaymentOptions>(50453);
    Register<TComTaskLoadCreditChanges>(50454);
    Register<TComTaskBuyCredits>(50455);
    Register<TComTaskGetWelcomeCredits>(50456);
    Register<TComTaskGet0190Numbers>(50457);
}

} // namespace riz
