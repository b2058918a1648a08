#pragma once
// The loader's day log: one line per call to the day file, standard error and
// the debugger. Call through QEL_LOG so that the source and function travel along:
//   QEL_LOG(2, L"m_nGameInstalled is " << m_nGameInstalled);
// Level 0 for failures, 2 for progress; above 2 nothing is written.
#include <fstream>
#include <sstream>
#include <string>

#include "core/log_format.h"

namespace qel {

class Logger {
public:
    enum Sink : unsigned { kFile = 0x1, kStdErr = 0x4, kDebugger = 0x10 };

    // The process-wide writer; the first call brings it up from LogFolder().
    static Logger& Instance();
    static void Log(int level, const char* sourcePath, int line, const char* function, const std::wstring& message);

    // The folder the process-wide writer starts from (ANSI code page, ending in "\").
    static void SetLogFolder(const std::string& folder);
    static std::string LogFolder();

    // A writer of its own, brought up from `folder` at once (tests use this).
    explicit Logger(const std::string& folder);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void Write(int level, const char* sourcePath, int line, const char* function, const std::wstring& message);
    void Configure(const std::string& basePath, unsigned mask);

    bool Initialised() const { return m_bInitialised; }
    unsigned SinkMask() const { return m_nMask; }
    const std::string& FileName() const { return m_strFileName; }
    const std::string& Folder() const { return m_strFolder; }

private:
    void BringUp();

    std::string m_strFolder;
    bool m_bInitialised = false;
    std::string m_strFileName;
    unsigned m_nMask = 0;
    std::ofstream m_file;
    int m_nFileLevel = 2;
    int m_nErrLevel = 2;
    int m_nDebugLevel = 2;
};

}  // namespace qel

#ifdef __FILE_NAME__
#define QEL_LOG_SOURCE __FILE_NAME__
#else
#define QEL_LOG_SOURCE __FILE__
#endif

#define QEL_LOG(level, stream_expr)                                                                 \
    do {                                                                                            \
        std::wostringstream qel_log_stream_;                                                        \
        qel_log_stream_ << stream_expr;                                                             \
        ::qel::Logger::Log((level), QEL_LOG_SOURCE, __LINE__,                                       \
                           ::qel::LogFunctionName(__PRETTY_FUNCTION__).c_str(), qel_log_stream_.str()); \
    } while (0)
