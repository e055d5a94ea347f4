#include "tasks/registertasks.h"

#include "tasks/taskfactory.h"

namespace riz {

void RegisterAllTasks()
{
    RegisterCreditAndAccountTasks();
    RegisterMessageAndCatalogTasks();
}

} // namespace riz
