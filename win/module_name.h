#pragma once
#include <windows.h>
#include <string>

namespace qel {

// The program file's name without folder and extension ("vandle_launch"), or
// empty when the path does not fit MAX_PATH.
std::wstring ModuleBaseName(HMODULE module);

}  // namespace qel
