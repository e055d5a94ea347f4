#pragma once

namespace riz {

class TFormRIZAvivaze;

// Connects the parts that live above the task layer to the main window: the task context
// over the parameters and tables with the connection problem dialog, the session's cipher,
// and the login, log-off and new-profile dialogs in the window's hooks. Undone by
// RemoveProgramParts.
void InstallProgramParts(TFormRIZAvivaze& form);
void RemoveProgramParts();

} // namespace riz
