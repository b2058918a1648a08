#include "loader/logger.h"

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <wtsapi32.h>

#include <cstdio>
#include <memory>

#include "win/text_convert.h"
#include "win/unique_handle.h"

namespace qel {
namespace {

std::string& FolderVariable() {
    static std::string folder;
    return folder;
}

std::string WithTrailingSlash(std::string path) {
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path;
}

// Creates (or overwrites) folder\debug.txt to see whether the folder takes files.
UniqueFile Probe(const std::string& folder) {
    const std::string path = folder + "debug.txt";
    return UniqueFile(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Documents of the console session's user: works for a service that runs the
// loader on the user's behalf; for a plain user process there is no token.
bool ConsoleUserDocuments(std::string& folder) {
    const DWORD session = ::WTSGetActiveConsoleSessionId();
    if (session == 0xFFFFFFFF) return false;
    UniqueHandleK token;
    if (!::WTSQueryUserToken(session, token.put())) return false;
    PIDLIST_ABSOLUTE raw = nullptr;
    std::string documents;
    if (SUCCEEDED(::SHGetFolderLocation(nullptr, CSIDL_PERSONAL, token.get(), 0, &raw)) && raw) {
        std::unique_ptr<ITEMIDLIST, decltype(&::CoTaskMemFree)> pidl(raw, &::CoTaskMemFree);
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(pidl.get(), path)) documents = WideToMultiByte(CP_THREAD_ACP, path);
    }
    folder = WithTrailingSlash(documents);
    return true;
}

bool DriveDExists() {
    const DWORD attrs = ::GetFileAttributesA("D:\\");
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramBaseName() {
    char name[MAX_PATH] = {};
    if (!::K32GetModuleBaseNameA(::GetCurrentProcess(), nullptr, name, MAX_PATH)) return std::string();
    return name;
}

}  // namespace

Logger& Logger::Instance() {
    static Logger instance(FolderVariable());
    // The bring-up may have moved to a fallback folder; the variable follows it.
    static const bool synced = (FolderVariable() = instance.Folder(), true);
    (void)synced;
    return instance;
}

void Logger::Log(int level, const char* sourcePath, int line, const char* function, const std::wstring& message) {
    Instance().Write(level, sourcePath, line, function, message);
}

void Logger::SetLogFolder(const std::string& folder) { FolderVariable() = folder; }
std::string Logger::LogFolder() { return FolderVariable(); }

Logger::Logger(const std::string& folder) : m_strFolder(folder) { BringUp(); }

void Logger::BringUp() {
    UniqueFile probe = Probe(m_strFolder);
    if (!probe && ConsoleUserDocuments(m_strFolder)) probe = Probe(m_strFolder);
    const std::string base = m_strFolder + ProgramBaseName();
    if (probe) {
        probe.reset();
        ::DeleteFileA((m_strFolder + "debug.txt").c_str());
        Configure(base, kFile | kStdErr | kDebugger);
    } else if (DriveDExists()) {
        Configure(base, 0x2 | kStdErr | kDebugger);
    }
}

void Logger::Configure(const std::string& basePath, unsigned mask) {
    m_nFileLevel = m_nErrLevel = m_nDebugLevel = 2;
    if (m_file.is_open()) m_file.close();
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    m_strFileName = DayFileName(basePath, now.wYear, now.wMonth, now.wDay);
    if (mask & kFile) m_file.open(m_strFileName, std::ios::out | std::ios::app);
    m_nMask = mask;
    m_bInitialised = true;
}

void Logger::Write(int level, const char* sourcePath, int line, const char* function, const std::wstring& message) {
    const std::string text = WideToMultiByte(CP_THREAD_ACP, message);
    if (!m_bInitialised) return;
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    const LogTime t{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    const std::string out = FormatLogLine(t, sourcePath ? sourcePath : "", line, function ? function : "", text);
    if ((m_nMask & kFile) && level <= m_nFileLevel && m_file.good()) {
        m_file << out << std::endl;
    }
    if ((m_nMask & kStdErr) && level <= m_nErrLevel) {
        std::fputs(out.c_str(), stderr);
        std::fputs("\n", stderr);
        std::fflush(stderr);
    }
    if ((m_nMask & kDebugger) && level <= m_nDebugLevel) ::OutputDebugStringA((out + "\r\n").c_str());
}

}  // namespace qel
