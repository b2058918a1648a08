#pragma once
// The loader's main window: a fixed 960 x 620 skinned window whose first page
// hosts the game page and whose second page shows download progress.
#include <windows.h>

#include <memory>
#include <string>

#include "loader/ie_browser_ui.h"
#include "skinui/window_impl_base.h"

namespace qel {

class GameLoaderWnd : public ui::WindowImplBase {
public:
    explicit GameLoaderWnd(std::wstring cmdJson);
    // Ends the message loop of the entry: the process lives as long as this window.
    ~GameLoaderWnd() override;

    bool ParseCmdJson();
    void TopMainWnd();
    void OnBtnCloseClick();

    // Launch parameters (read from m_strCmdJson).
    const std::wstring& WinId() const { return m_strWinId; }
    const std::wstring& Source() const { return m_strSource; }
    const std::wstring& TokenLogin() const { return m_strTokenLogin; }
    const std::wstring& Token() const { return m_strToken; }
    const std::wstring& OvExt() const { return m_strOvExt; }
    const std::wstring& GameMgrId() const { return m_strGameMgrId; }
    const std::wstring& TypeMode() const { return m_strTypeMode; }
    int GameInstalled() const { return m_nGameInstalled; }
    const std::wstring& DefaultInstallDir() const { return m_strDefaultInstallDir; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"GameLoaderResClass"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleLoaderMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage(HWND hwnd) override;
    void InitWindow() override;
    void OnClick(ui::Notify& msg) override;
    std::wstring GetSkinFolder() override { return L""; }
    std::wstring GetSkinFile() override { return L"GameLoader.xml"; }
    ui::ResourceType GetResourceType() const override { return ui::ResourceType::ZipResource; }
    UINT GetResourceID() const override { return 130; }
    LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    ui::Control* CreateControl(const std::wstring& className) override;

    // Game page (game_page.cpp), game start (game_start.cpp) and progress page
    // (progress_page.cpp).
    void BuildGamePath();
    void LoadWeb();
    void LoadGame();
    void OnOpenGame(const std::string& text);  // the page's narrow JSON argument
    void OnDownloadProgress(WPARAM percent);
    void OnUnzipResult(WPARAM result);
    void OnNetworkResult(WPARAM result);
    void OnProgressTipTimer();
    // The direct start of tokenLogin "1": the game at once, or an end when there is no token.
    void StartGameDirectly();
    void RefreshInstallRegistration();
    // Ends running game programs; runs on a worker while the window waits.
    void KillGameTask();

    void ShowExitMenu();

    std::unique_ptr<CWebBrowserEvent> m_pBrowserEvent;
    CIeBrowserUI* m_pIe = nullptr;
    ui::TabLayout* m_pWizardTab = nullptr;
    ui::Progress* m_pProgress = nullptr;
    ui::Label* m_pProgTip = nullptr;
    ui::Control* m_pVLayoutDownload = nullptr;
    std::wstring m_strGamePath;
    std::wstring m_strCmdJson;
    std::wstring m_strWinId;
    std::wstring m_strSource;
    std::wstring m_strTokenLogin;
    std::wstring m_strToken;
    std::wstring m_strOvExt;
    std::wstring m_strGameKey;
    std::wstring m_strFileParam;
    std::wstring m_strGameMgrId;
    std::wstring m_strTypeMode;
    int m_nGameInstalled = 0;
    std::wstring m_strDefaultInstallDir;

private:
    // Handlers that run a modal loop (the message boxes) can see the window
    // destroyed under them; the object then goes when the outermost one is done.
    int m_nHandlerDepth = 0;
    bool m_bDeletePending = false;
};

}  // namespace qel
