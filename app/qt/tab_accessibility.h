#pragma once

class QObject;

namespace qimbar::qt {

class TabStrip;

// The tab control as a screen reader should find it: the strip a page tab
// list of its six tabs alone (Qt's own also lists its hidden scroll
// buttons), each tab selected only while current and focused only while the
// strip has the focus, each holding its page, whose children are the page's
// rows. Installed once, before the first strip is asked for.
void installTabAccessibility();

// Tells assistive tools that tab `index` of `strip` now has the focus: Qt
// tells them of the strip alone when it takes the focus.
void announceTabFocus(TabStrip* strip, int index);

// Tells them that tab `index` is no longer selected (Qt tells of the new one).
void announceTabDeselected(TabStrip* strip, int index);

}  // namespace qimbar::qt
