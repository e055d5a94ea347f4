#pragma once

class QApplication;

namespace riz::test {

// The one application object of a GUI test program, created on first use.
QApplication* GuiApp();

} // namespace riz::test
