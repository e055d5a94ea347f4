#include "tasks/comtaskgetsmscredits.h"
#include "tasks/registertasks.h"
#include "tasks/taskfactory.h"

namespace riz {

void RegisterCreditAndAccountTasks()
{
    RegisterTask(50452, [](int id) { return std::make_unique<TComTaskGetSMSCredits>(id); });
}

} // namespace riz
