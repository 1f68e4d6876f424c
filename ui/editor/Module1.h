#pragma once

#include <QString>

namespace quillet {

// The state the editor's commands share beyond the window's controls. The
// program owns one and hands it to its window, so every window, the hidden
// one that draws the help picture included, and every test starts clean.
struct Module1 {
    // Full path of the last file read into the body; "" until the first
    // successful read, never cleared afterwards.
    QString loadedFileName;
};

}  // namespace quillet
