#pragma once

namespace riz {

class TFormRIZAvivaze;

// A developer aid for tools/screenshot.sh: when RIZ_AVIVAZE_SCREENSHOT_DIR names a folder,
// the program shows its main window after the start, saves "main-window.png" (the window)
// and "tray-menu.png" (the screen with the tray menu open over the window) there, and ends.
// Without the variable nothing happens.
void ArmScreenshots(TFormRIZAvivaze& form);

} // namespace riz
