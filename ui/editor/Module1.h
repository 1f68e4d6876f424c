#pragma once

#include <QString>

// The program-wide state shared between the editor's commands.
namespace Module1 {
// Full path of the last file read into the body; "" until the first
// successful read, never cleared afterwards.
extern QString loadedFileName;
}  // namespace Module1
