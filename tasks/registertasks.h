#pragma once

namespace riz {

// Each group registers the task classes of its requests under their runner ids.
void RegisterCreditAndAccountTasks();   // registertasks_account.cpp
void RegisterMessageAndCatalogTasks();  // registertasks_messages.cpp

} // namespace riz
