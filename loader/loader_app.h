#pragma once
// The program instance, kept for the window icon and resources.
#include <windows.h>

namespace qel {

void SetLoaderInstance(HINSTANCE instance);
// The program instance; the module of the running program when none was set.
HINSTANCE LoaderInstance();

}  // namespace qel
