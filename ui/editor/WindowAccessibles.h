#pragma once

namespace quillet {

// What a screen reader finds in the editor window beyond each control's
// name: the count's description with the page's size and the oldest
// handsets that show it, and the help picture as a link it can press.
// Installed before the window's controls exist: a control whose interface
// was made first keeps the plain one.
void installWindowAccessibles();

}  // namespace quillet
