#include "tasks/taskcontext.h"

#include <stdexcept>

namespace riz {
namespace {
TTaskContext* g_context = nullptr;
} // namespace

void SetTaskContext(TTaskContext* context)
{
    g_context = context;
}

TTaskContext& TaskContext()
{
    if (!g_context)
        throw std::logic_error("no task context installed");
    return *g_context;
}

} // namespace riz
