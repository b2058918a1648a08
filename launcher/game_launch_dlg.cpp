#include "launcher/game_launch_dlg.h"

#include "core/game_command.h"
#include "core/launch_event.h"
#include "core/launcher_params.h"
#include "core/machine_text.h"
#include "core/package_integrity.h"
#include "core/version_check.h"
#include "dlgapp/app.h"
#include "launcher/http_fetch.h"
#include "launcher/launch_messages.h"
#include "launcher/launcher_files.h"
#include "launcher/machine_identity.h"
#include "launcher/package_hash.h"
#include "launcher/resource.h"
#include "launcher/zip/unzip_package.h"
#include "launcher/ui/ui_resource.h"
#include "win/text_convert.h"

#include "build_config.h"

#include <process.h>
#include <shlwapi.h>

#include <cstdlib>
#include <ctime>
#include <exception>
#include <map>

namespace {
constexpr wchar_t kInstanceMutex[] = L"lorquin_game1";
}  // namespace

CGameLaunchDlg::CGameLaunchDlg() : dlgapp::Dialog(IDD_VANDLE_LAUNCH_DIALOG) {
    m_hIcon = ::LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDI_LAUNCHER_ICON));
    OnMessage(WM_CLOSE, [this](WPARAM wp, LPARAM lp) { return OnCloseRequest(wp, lp); });
    OnMessage(WM_LAUNCH_CLOSE, [this](WPARAM wp, LPARAM lp) { return OnCloseRequest(wp, lp); });
    RegisterWindowHandlers();
}

CGameLaunchDlg::~CGameLaunchDlg() = default;

void CGameLaunchDlg::DoDataExchange(dlgapp::DataExchange& dx) {
    dlgapp::Dialog::DoDataExchange(dx);
    dx.Control(IDC_PROGRESS, m_progress);
    dx.Control(IDC_STATUS, m_status);
}

bool CGameLaunchDlg::PreTranslateMessage(MSG* msg) {
    // Escape must not end the launcher from the keyboard.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
    return dlgapp::Dialog::PreTranslateMessage(msg);
}

void CGameLaunchDlg::OnOK() { dlgapp::Dialog::OnOK(); }

bool CGameLaunchDlg::OnInitDialog() {
    dlgapp::Dialog::OnInitDialog();

    // Held until the process ends; the system releases it however the process goes.
    HANDLE lock = ::CreateMutexW(nullptr, FALSE, kInstanceMutex);
    const DWORD lockError = ::GetLastError();
    m_instanceLock.reset(lock);
    if (lockError == ERROR_ALREADY_EXISTS) {
        PostMessage(WM_QUIT);
        return false;
    }

    ParseLaunchParams();
    SendLaunchEvent("downloader_start");
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    try {
        CreateSplash();
        if (!LoadBackground(ResourceModule())) {
            EndWithMessage(L"【参数错误】");
            return false;
        }
        PlaceWindows();
        StartWorker();
    } catch (const std::exception&) {
        EndWithMessage(L"【启动失败】");
    }
    return true;
}

void CGameLaunchDlg::EndWithMessage(const wchar_t* caption) {
    SendLaunchEvent("game_start_failed");
    ::MessageBoxW(nullptr, L"请重新尝试启动游戏！", caption, MB_OK);
    PostMessage(WM_QUIT);
}

void CGameLaunchDlg::StartWorker() {
    unsigned threadId = 0;
    auto handle = reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, 0, &CGameLaunchDlg::UpdateThreadProc, this, CREATE_SUSPENDED, &threadId));
    // Stored before the worker runs, so that the worker's clearing is its last act.
    m_hUpdateThread.store(handle);
    if (handle) ::ResumeThread(handle);
}

unsigned __stdcall CGameLaunchDlg::UpdateThreadProc(void* dialog) {
    auto* self = static_cast<CGameLaunchDlg*>(dialog);
    try {
        self->RunUpdate();
    } catch (...) {
        // Nothing may leave the thread; the dialog stays open for the user to close.
    }
    qel::UniqueHandleK finished(self->m_hUpdateThread.exchange(nullptr));
    return 0;
}

LRESULT CGameLaunchDlg::OnCloseRequest(WPARAM, LPARAM) {
    SendLaunchEvent("game_download_exit");
    PostMessage(WM_QUIT);
    return 0;
}

void CGameLaunchDlg::ParseLaunchParams() {
    dlgapp::App* app = dlgapp::App::Current();
    ParseLaunchParams(app ? app->CommandLine() : std::wstring());
}

void CGameLaunchDlg::ParseLaunchParams(const std::wstring& commandLine) {
    qel::LauncherParams params{m_token, m_source, m_ovext};
    qel::ParseLauncherCommandLine(qel::WideToUtf8(commandLine), params);
    m_token = params.token;
    m_source = params.source;
    m_ovext = params.ovext;
}

void CGameLaunchDlg::SendLaunchEvent(const std::string& eventName) {
    std::wstring mac, info;
    {
        std::lock_guard<std::mutex> hold(m_identityLock);
        if (m_strMacAddress.empty()) QueryMacAddress(m_strMacAddress);
        if (m_strMachineInfo.empty()) {
            std::string os = GetOsName();
            std::string memory = GetMemoryText();
            std::string cpu = GetCpuBrand();
            m_strMachineInfo = qel::MultiByteToWide(CP_ACP, qel::JoinMachineInfo(cpu, memory, os));
        }
        mac = m_strMacAddress;
        info = m_strMachineInfo;
    }
    std::wstring head =
        qel::MultiByteToWide(CP_ACP, qel::EventAddressHead(QEL_DATACENTER_HOST, QEL_DATACENTER_PORT, eventName));
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (const std::tm* t = std::localtime(&now)) local = *t;  // the C runtime keeps this per thread
    std::wstring timeText = qel::MultiByteToWide(CP_ACP, qel::FormatEventTime(local));
    HttpGetToFile(qel::EventAddress(head, mac, timeText, info), std::wstring());
}

void CGameLaunchDlg::RunUpdate() {
    SendLaunchEvent("game_download_start");
    UpdateTarget target;
    target.documentsFolder = DocumentsFolder();

    // The runtime's generator keeps its state per thread: seed it here, once a run.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::wstring versionAddress =
        qel::Utf8ToWide(qel::VersionAddress(QEL_DATACENTER_HOST, QEL_DATACENTER_PORT, std::rand()));

    PostMessage(WM_LAUNCH_STATUS, STATUS_BUSY_START, reinterpret_cast<LPARAM>(kStatusCheckingVersion));
    const std::wstring launcherFolder = LauncherFolder();
    const std::wstring replyFile = launcherFolder + L"/kelm.ver";
    // A failed request keeps the reply of an earlier run, which is then used.
    HttpGetToFile(versionAddress, replyFile);
    PostMessage(WM_LAUNCH_STATUS, STATUS_BUSY_STOP, reinterpret_cast<LPARAM>(kStatusKeep));

    std::string replyLine;
    ReadFirstLine(replyFile, replyLine);
    std::map<std::string, std::string> reply;
    qel::ParseVersionReply(reply, replyLine);
    target.packageBase = reply.count("url") ? reply["url"] : std::string();
    target.versionText = reply.count("libversion") ? reply["libversion"] : std::string();
    target.hasSha256 = reply.count("sha256") != 0;
    target.sha256 = target.hasSha256 ? reply["sha256"] : std::string();
    const int remoteVersion = qel::ParseVersionNumber(target.versionText);

    target.gameFolder = launcherFolder + L"/qelorvane";
    const std::wstring gameProgram = target.gameFolder + L"/qelorvane.exe";
    target.versionFile = target.gameFolder + L"/ver.ini";
    m_quotedExePath = "\"" + qel::WideToMultiByte(CP_THREAD_ACP, gameProgram) + "\"";

    const bool programExists = ::PathFileExistsW(gameProgram.c_str()) != FALSE;
    const bool versionFileExists = ::PathFileExistsW(target.versionFile.c_str()) != FALSE;
    int installedVersion = 0;
    if (programExists && versionFileExists) {
        std::string installedText;
        ReadFirstLine(target.versionFile, installedText);
        installedVersion = qel::ParseVersionNumber(installedText);
    }
    if (qel::DecideUpdate(programExists, versionFileExists, installedVersion, remoteVersion) ==
        qel::UpdateDecision::StartInstalled) {
        SendLaunchEvent("game_download_success");
        StartGame();
        return;
    }
    DownloadAndInstallPackage(target);
}

void CGameLaunchDlg::DownloadAndInstallPackage(const UpdateTarget& target) {
    const std::string packageName = qel::PackageName(target.versionText);
    const std::wstring localPackage = target.documentsFolder + qel::MultiByteToWide(CP_ACP, packageName);

    PostMessage(WM_LAUNCH_STATUS, STATUS_BUSY_START, reinterpret_cast<LPARAM>(kStatusDownloading));
    const int fetched = DownloadPackage(target, localPackage);
    if (fetched != FETCH_OK) {
        SendLaunchEvent(fetched == FETCH_NO_CONNECTION ? "game_download_disconnected" : "game_download_exit");
        EndAfterFailedDownload();
        return;
    }
    PostMessage(WM_LAUNCH_STATUS, STATUS_BUSY_STOP, reinterpret_cast<LPARAM>(kStatusUnpacking));
    SendLaunchEvent("game_download_success");

    if (UnzipPackage(localPackage, target.gameFolder) == UnzipFailed) {
        // The package stays for inspection and ver.ini keeps the old version,
        // so the next run repeats the whole update.
        SendLaunchEvent("game_unzip_failed");
        ::MessageBoxW(nullptr, L"解压游戏失败，请重新尝试！", L"【解压失败】", MB_OK);
        PostMessage(WM_QUIT);
        return;
    }
    SendLaunchEvent("game_unzip_success");
    ::DeleteFileW(localPackage.c_str());
    WriteTextFile(target.versionFile, target.versionText);
    StartGame();
}

int CGameLaunchDlg::DownloadPackage(const UpdateTarget& target, const std::wstring& localPackage) {
    const std::wstring address = qel::MultiByteToWide(CP_ACP, target.packageBase + qel::PackageName(target.versionText));
    int result = HttpGetToFile(address, localPackage);
    if (result != FETCH_OK || !target.hasSha256) return result;
    qel::Sha256Digest digest{};
    if (Sha256OfFile(localPackage, digest) && qel::PackageDigestAccepted(true, target.sha256, digest)) return FETCH_OK;
    ::DeleteFileW(localPackage.c_str());
    return FETCH_BAD_STATUS;
}

void CGameLaunchDlg::EndAfterFailedDownload() {
    // Stop the busy animation first: the user must not face a bar that moves
    // while nothing happens any more.
    PostMessage(WM_LAUNCH_STATUS, STATUS_BUSY_STOP, reinterpret_cast<LPARAM>(kStatusKeep));
    ::MessageBoxW(nullptr, L"下载游戏失败，请检查网络后重新尝试！", L"【下载失败】", MB_OK);
    PostMessage(WM_QUIT);
}

int CGameLaunchDlg::UnzipPackage(const std::wstring& packagePath, const std::wstring& targetFolder) {
    // The bar counts entries, not percent: from the 101st entry on it stays full.
    int result = qel::UnzipPackageTo(packagePath, targetFolder, [this](int index, int) { SetBarPosition(index); });
    return result == 0 ? 0 : UnzipFailed;
}

void CGameLaunchDlg::StartGame() {
    SendLaunchEvent("game_start");
    std::string commandLine = qel::GameCommandLine(m_quotedExePath, QEL_GAME_PAGE_HOST, m_token, m_source, m_ovext);
    ::WinExec(commandLine.c_str(), SW_SHOW);
    PostMessage(WM_QUIT);
}
