#include "tasks/taskfactory.h"

#include "platform/ezkerror.h"

#include <map>

namespace riz {
namespace {
std::map<int, TaskCreator>& Registry()
{
    static std::map<int, TaskCreator> registry;
    return registry;
}
} // namespace

void RegisterTask(int taskId, TaskCreator creator)
{
    Registry()[taskId] = std::move(creator);
}

std::unique_ptr<TComTask> CreateTask(int taskId)
{
    auto it = Registry().find(taskId);
    if (it == Registry().end())
        throw EZKError(19001, 0, std::to_string(taskId));
    return it->second(taskId);
}

bool IsTaskRegistered(int taskId)
{
    return Registry().count(taskId) != 0;
}

const std::vector<int>& KnownTaskIds()
{
    static const std::vector<int> ids = {
        50411, 50412, 50413, 50414, 50421, 50422, 50423, 50424, 50425, 50426, 50427,
        50431, 50432, 50433, 50434, 50435, 50441, 50442, 50443, 50445, 50446, 50447,
        50451, 50452, 50453, 50454, 50455, 50456, 50457, 50461, 50462, 50470, 50471,
        50472, 50473, 50474, 50475};
    return ids;
}

} // namespace riz
