#pragma once
// The launcher's one dialog: start-up, the worker thread that checks the
// version, updates the game and starts it, the event reports, and every way
// in which the launcher ends.
#include "dlgapp/dialog.h"
#include "launcher/ui/GameTopBg.h"
#include "launcher/ui/GdiPlusPng.h"
#include "launcher/ui/MyProgressCtrl.h"
#include "win/unique_handle.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

// What the version check hands to the package download.
struct UpdateTarget {
    std::string packageBase;  // the reply's "url", narrow as received
    std::string versionText;  // the reply's "libversion", exactly as received
    bool hasSha256 = false;   // the reply carries the package's expected digest
    std::string sha256;
    std::wstring gameFolder;
    std::wstring versionFile;
    std::wstring documentsFolder;  // with a trailing "/"
};

class CGameLaunchDlg : public dlgapp::Dialog, public ISplashOwner {
public:
    CGameLaunchDlg();
    ~CGameLaunchDlg() override;

    // True while the worker thread has not finished; the dialog must then
    // outlive the modal loop, because the worker still uses it.
    bool WorkerRunning() const { return m_hUpdateThread.load() != nullptr; }

    // Reads the parameters from the application's command line.
    void ParseLaunchParams();
    void ParseLaunchParams(const std::wstring& commandLine);

    // Reports one stage to the data-centre log; blocks for one round trip and
    // ignores the answer.
    void SendLaunchEvent(const std::string& eventName);
    // The worker's body: version check, then the installed game's start or the update.
    void RunUpdate();
    // Reports "game_start", starts the game program and ends the launcher.
    void StartGame();

    const std::string& Token() const { return m_token; }
    const std::string& Source() const { return m_source; }
    const std::string& Ovext() const { return m_ovext; }

    // The splash's view of this dialog (which window the user drags).
    HWND GetOwnerHwnd() const override { return m_hWnd; }
    void SetDragDialog(BOOL dragDialog) override { m_bDragDialog = dragDialog; }
    BOOL GetDragDialog() const override { return m_bDragDialog; }

protected:
    void DoDataExchange(dlgapp::DataExchange& dx) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    static unsigned __stdcall UpdateThreadProc(void* dialog);
    LRESULT OnCloseRequest(WPARAM, LPARAM);
    void StartWorker();
    void EndWithMessage(const wchar_t* caption);
    // The second half of the update: download, unpack, record, start.
    void DownloadAndInstallPackage(const UpdateTarget& target);
    // Fetches the package into the Documents folder and checks it against
    // the reply's digest; a FetchResult (a refused package counts as a failure).
    int DownloadPackage(const UpdateTarget& target, const std::wstring& localPackage);
    void EndAfterFailedDownload();

public:
    // Unpacks the package into the target folder, moving the progress bar
    // after every entry: 0, or UnzipFailed.
    static constexpr int UnzipFailed = 0x40000;
    int UnzipPackage(const std::wstring& packagePath, const std::wstring& targetFolder);

private:

    // Window side (game_launch_dlg_window.cpp).
    void RegisterWindowHandlers();
    void CreateSplash();
    bool LoadBackground(HINSTANCE resources);
    void PlaceWindows();
    LRESULT OnLaunchStatus(WPARAM wp, LPARAM lp);
    LRESULT OnBusyTimer(WPARAM wp, LPARAM lp);
    LRESULT OnPaint(WPARAM wp, LPARAM lp);
    LRESULT OnNcHitTest(WPARAM wp, LPARAM lp);
    LRESULT OnMove(WPARAM wp, LPARAM lp);
    LRESULT OnCtlColorStatic(WPARAM wp, LPARAM lp);
    // Sets the bar on a 0 to 100 scale; also called from the worker thread.
    void SetBarPosition(int position);

    // Start-up and worker.
    std::atomic<HANDLE> m_hUpdateThread{nullptr};
    qel::UniqueHandleK m_instanceLock;
    std::unique_ptr<CGameTopBg> m_pTopBg;
    HICON m_hIcon = nullptr;
    CMyProgressCtrl m_progress;
    dlgapp::Window m_status;
    CGdiPlusPngResource m_bkImage;  // PNG 146 with the memory block it lives in
    BOOL m_bDragDialog = FALSE;     // 1: the user handles the dialog, 0: the splash

    // Launch parameters, UTF-8.
    std::string m_token;
    std::string m_source;
    std::string m_ovext;
    // "<game folder>/qelorvane.exe" in quotes, thread ANSI code page.
    std::string m_quotedExePath;

    // Machine identity, filled on first use; both threads report.
    std::mutex m_identityLock;
    std::wstring m_strMacAddress;
    std::wstring m_strMachineInfo;
};
