#pragma once

// Teaches Qt's accessibility how assistive technology sees the program's own widgets: the
// main window as a window (a frame), not the client area Qt reports for a plain widget, and
// the link label as a link whose "press" action activates it. Call once, after the
// application object is made.
void installAccessibleInterfaces();
