#pragma once
// The application object of a dialog program: one instance per process,
// started from wWinMain with Run(). InitInstance does the set-up and usually
// runs the main dialog; returning false ends the program right after it
// (no message loop of the application's own), and ExitInstance gives the
// exit code.
#include <windows.h>

#include <memory>
#include <string>

namespace qel {
class GdiplusScope;
}

namespace dlgapp {

class Window;

class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The program's entry: InitInstance, then (if it returned true) a message
    // loop until WM_QUIT, then ExitInstance, whose result is the exit code.
    int Run(HINSTANCE instance, const wchar_t* commandLine);

    static App* Current() { return s_current; }
    HINSTANCE Instance() const { return m_instance; }
    // The command line after the program's own path, as the system gives it.
    const std::wstring& CommandLine() const { return m_commandLine; }
    // The program file's name without folder and extension.
    std::wstring AppName() const;

    Window* MainWindow() const { return m_mainWindow; }
    void SetMainWindow(Window* w) { m_mainWindow = w; }

    // Where the application would keep its settings (HKCU\Software\<name>).
    void SetRegistryKey(const std::wstring& name) { m_registryKey = name; }
    const std::wstring& RegistryKey() const { return m_registryKey; }

protected:
    // The base registers with the restart manager when restart support was asked for.
    virtual bool InitInstance();
    // The base ends the process's own GDI+ start-up; returns the exit code.
    virtual int ExitInstance();

    // Asks the system's restart manager to start the program again, with the
    // same command line, after a crash, a hang or an update (no recovery).
    void SupportRestartOnly() { m_restartOnly = true; }
    // Common control classes, e.g. InitCommonControls(0xFF) for every class.
    static bool InitCommonControls(DWORD classes);
    // GDI+ for the application's lifetime; ended by ExitInstance.
    bool StartGdiplus();
    void StopGdiplus();

private:
    static App* s_current;
    HINSTANCE m_instance = nullptr;
    std::wstring m_commandLine;
    std::wstring m_registryKey;
    Window* m_mainWindow = nullptr;
    bool m_restartOnly = false;
    int m_loopExitCode = 0;
    std::unique_ptr<qel::GdiplusScope> m_gdiplus;
};

}  // namespace dlgapp
