#include "tasks/registertasks.h"
#include "tasks/taskfactory.h"

namespace riz {

void RegisterMessageAndCatalogTasks()
{
}

} // namespace riz
