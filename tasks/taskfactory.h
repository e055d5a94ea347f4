#pragma once

#include "tasks/comtask.h"

#include <functional>
#include <memory>
#include <vector>

namespace riz {

// The runner's table from task id to task class. Each task registers its ids; an id without a
// class raises EZKError 19001 when the runner creates the task.
using TaskCreator = std::function<std::unique_ptr<TComTask>(int taskId)>;

void RegisterTask(int taskId, TaskCreator creator);
std::unique_ptr<TComTask> CreateTask(int taskId); // throws EZKError(19001)
bool IsTaskRegistered(int taskId);
// Every id the runner knows, whether its class is there yet or not.
const std::vector<int>& KnownTaskIds();

// Registers every task class of the program.
void RegisterAllTasks();

} // namespace riz
