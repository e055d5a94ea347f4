#pragma once

class QWidget;

namespace riz {

class TOrvoBanner;

// The look every dialog of the program shares: the light sand background, Verdana 8 pt
// (or the nearest sans face) and the logo strip in its banner.
void ApplyDialogStyle(QWidget* dialog, TOrvoBanner* banner = nullptr);

} // namespace riz
