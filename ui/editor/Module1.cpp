#include "Module1.h"

namespace Module1 {
QString loadedFileName;
}  // namespace Module1
