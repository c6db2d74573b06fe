#pragma once

#include <windows.h>

namespace qimbar::win32 {

// Makes the tab control paint its pages in the button face, the colour the
// labels on them are painted in, whatever the theme paints its pane in.
void paintPagesInButtonFace(HWND tabs);

}  // namespace qimbar::win32
