#pragma once
// The status text of the main window: the first pane of its status bar.

#include <QString>

// Shows `text` in the message pane of the main window's status bar and
// repaints the bar at once, so the text is visible while a blocking transfer
// runs. Does nothing while there is no application object, no main window or
// no status bar (for example during start-up).
void setStatusText(const QString& text);
