#pragma once
// The loader's main window.
#include <windows.h>
#include <string>

namespace qel {

class GameLoaderWnd {
public:
    explicit GameLoaderWnd(std::wstring cmdJson);
    virtual ~GameLoaderWnd();
    GameLoaderWnd(const GameLoaderWnd&) = delete;
    GameLoaderWnd& operator=(const GameLoaderWnd&) = delete;

    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle);
    void CenterWindow();
    HWND GetHWND() const { return m_hWnd; }

    bool ParseCmdJson();
    void TopMainWnd();

    // Launch parameters (read from m_strCmdJson).
    const std::wstring& WinId() const { return m_strWinId; }
    const std::wstring& Source() const { return m_strSource; }
    const std::wstring& TokenLogin() const { return m_strTokenLogin; }
    const std::wstring& Token() const { return m_strToken; }
    const std::wstring& OvExt() const { return m_strOvExt; }
    const std::wstring& GameMgrId() const { return m_strGameMgrId; }
    const std::wstring& TypeMode() const { return m_strTypeMode; }
    int GameInstalled() const { return m_nGameInstalled; }

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hwnd);
    void BuildGamePath();
    void LoadWeb();
    void LoadGame();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
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
};

}  // namespace qel
