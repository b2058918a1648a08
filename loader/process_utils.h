#pragma once
// Finding and ending processes by program file name, used to make sure no copy
// of the game program runs. Every step logs (see the day log) and none tells
// the user anything.
#include <windows.h>

#include <chrono>
#include <string>

namespace qel {

constexpr DWORD kNoProcess = 0xFFFFFFFF;

// The id of the first process in a fresh system snapshot whose program file
// name equals `name` (lstrcmpW: case matters), or kNoProcess.
DWORD GetProcessIdByName(const std::wstring& name);

// Ends the process with exit code 0, enabling the debug privilege for this
// process when a plain open is refused. True when the system reports success.
bool KillProcess(DWORD processId);

// Ends the first process of each game program name; when that fails, hands the
// name to "taskkill /f /im", which ends every process of it.
void KillGeneralProcess();

// True when a process of any game program name runs.
bool GeneralProcessExist();

// Ends game processes until none is left, pausing between passes, for at most
// `maxPasses` passes. Returns at once when none runs.
void EndGameProcesses(int maxPasses = 30, std::chrono::nanoseconds pause = std::chrono::seconds(1));

}  // namespace qel
