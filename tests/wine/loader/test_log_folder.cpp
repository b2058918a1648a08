// Every loader test process writes its day log into the temporary folder, not
// into whatever folder it was started from (the writer's last fallback).
#include <windows.h>

#include <string>

#include "loader/logger.h"

namespace {
const bool kLogFolderSet = [] {
    char tmp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, tmp);
    const std::string folder = std::string(tmp) + "qel_loader_tests\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    qel::Logger::SetLogFolder(folder);
    return true;
}();
}  // namespace
