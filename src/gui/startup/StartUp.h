#pragma once

class QAction;
class QWidget;

namespace lockvale {

// What runs once at every start before the window is shown: the About item's caption, the
// check for a newer version and, on the first run, the agreement. False when the program is to
// end: a version that must be downloaded was offered, or the agreement was refused.
bool StartUp(QAction& mnuAboutApp, QWidget* Parent);

}  // namespace lockvale
