// The loader window's game start and progress page, driven by the messages
// other programs and the page bridge send it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "loader/common.h"
#include "loader/game_loader_wnd.h"
#include "loader/loader_messages.h"
#include "loader/open_game_text.h"
#include "skin_fixture.h"
#include "win/com_ptr.h"
#include "win/unique_handle.h"

namespace {

using qel::testing::Pump;
using qel::testing::PumpUntil;

class TestWindow : public qel::GameLoaderWnd {
public:
    using GameLoaderWnd::GameLoaderWnd;
    void SetGamePath(const std::wstring& p) { m_strGamePath = p; }
    const std::wstring& GamePath() const { return m_strGamePath; }
    std::wstring Tip() const { return m_pProgTip ? m_pProgTip->GetText() : L"<none>"; }
    int Bar() const { return m_pProgress ? m_pProgress->GetValue() : -1; }
};

// Stands in for the game manager: counts message 1347.
class GameManager {
public:
    GameManager() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QelTestGameManager";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~GameManager() { ::DestroyWindow(hwnd_); }
    std::wstring Id() const { return std::to_wstring(reinterpret_cast<ULONG_PTR>(hwnd_)); }
    int failures = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<GameManager*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m == qel::WM_GAME_START_FAILED && self) ++self->failures;
        return ::DefWindowProcW(h, m, w, l);
    }
    HWND hwnd_ = nullptr;
};

class LoaderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(ole_.result()));
        ASSERT_TRUE(qel::testing::UseLoaderSkin());
        qel::testing::DropQuit();
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"qel_sys_window_test";
        ::CreateDirectoryW(dir_.c_str(), nullptr);
        game_ = dir_ + L"\\qel.exe";
        record_ = dir_ + L"\\record.txt";
        ASSERT_TRUE(::CopyFileW((qel::GetModuleDir() + L"\\fake_game.exe").c_str(), game_.c_str(), FALSE));
        ::DeleteFileW(record_.c_str());
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LOG", record_.c_str());
    }
    void TearDown() override {
        if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
        qel::testing::DropQuit();
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LOG", nullptr);
        Pump(200);
        ::DeleteFileW(record_.c_str());
        ::DeleteFileW(game_.c_str());
        ::RemoveDirectoryW(dir_.c_str());
    }
    TestWindow* Open(const std::wstring& params) {
        auto* w = new TestWindow(params);
        hwnd_ = w->Create(nullptr, L"Kelvadune-test", WS_OVERLAPPEDWINDOW, 0);
        if (!hwnd_) return nullptr;
        ::ShowWindow(hwnd_, SW_HIDE);
        w->SetGamePath(game_);
        return w;
    }
    // The game's recorded command line, once it has run.
    std::string GameCommandLine(DWORD waitMs = 10000) {
        std::string text;
        PumpUntil([&] {
            std::ifstream f(record_.c_str(), std::ios::binary);
            std::ostringstream s;
            s << f.rdbuf();
            text = s.str();
            return !text.empty() && text.back() == '\n';
        }, waitMs);
        return text;
    }
    bool Closed(DWORD waitMs = 5000) {
        return PumpUntil([&] { return !::IsWindow(hwnd_); }, waitMs);
    }
    void OpenGame(const std::string& text) {
        ::PostMessageW(hwnd_, qel::WM_OPEN_GAME, qel::HandOverOpenGameText(text), 0);
    }

    qel::ScopedOle ole_;
    HWND hwnd_ = nullptr;
    std::wstring dir_, game_, record_;
};

TEST_F(LoaderWindow, PageValuesReplaceTheCommandLineOnes) {
    GameManager mgr;
    TestWindow* w = Open(L"{\"gameMgrId\":\"" + mgr.Id() + L"\",\"ovext\":\"X\",\"source\":\"S\",\"token\":\"T\"," +
                         L"\"tokenLogin\":\"0\",\"typeMode\":\"2\"}");
    ASSERT_NE(w, nullptr);
    OpenGame("{\"token\":\"T2\",\"ovext\":\"X2\"}");
    const std::string cmd = GameCommandLine();
    EXPECT_NE(cmd.find("qel.exe\" --source=S --tokenLogin=0 --token=T2 --ovext=X2 --winid=" +
                       qel::WideToNarrow(CP_ACP, mgr.Id()) + " --typeMode=2\n"),
              std::string::npos) << cmd;
    EXPECT_TRUE(Closed());
    EXPECT_EQ(mgr.failures, 0);
}

TEST_F(LoaderWindow, ValuesOfOtherTypesKeepTheHeldOnes) {
    TestWindow* w = Open(L"{\"ovext\":\"X\",\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    OpenGame("{\"token\":5,\"ovext\":[1]}");
    const std::string cmd = GameCommandLine();
    EXPECT_NE(cmd.find("qel.exe\" --source= --token=T --ovext=X\n"), std::string::npos) << cmd;
    EXPECT_TRUE(Closed());
}

TEST_F(LoaderWindow, NoStartWithoutTokenOrWithAnUnreadableRequest) {
    TestWindow* w = Open(L"{\"source\":\"S\"}");
    ASSERT_NE(w, nullptr);
    OpenGame("{\"ovext\":\"X2\"}");   // still no token: nothing happens
    OpenGame("{\"token\":\"T2\"");   // not JSON: logged, the page stays
    Pump(500);
    EXPECT_TRUE(::IsWindow(hwnd_));
    // A number nobody handed over is not taken for a text.
    ::PostMessageW(hwnd_, qel::WM_OPEN_GAME, 12345, 0);
    Pump(300);
    EXPECT_TRUE(::IsWindow(hwnd_));
    EXPECT_EQ(GameCommandLine(0), "");
}

TEST_F(LoaderWindow, MissingGameTellsTheGameManagerAndCloses) {
    GameManager mgr;
    TestWindow* w = Open(L"{\"gameMgrId\":\"" + mgr.Id() + L"\",\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    w->SetGamePath(dir_ + L"\\missing\\qel.exe");
    OpenGame("{}");
    EXPECT_TRUE(Closed());
    Pump(100);
    EXPECT_EQ(mgr.failures, 1);
    EXPECT_EQ(GameCommandLine(0), "");
}

TEST_F(LoaderWindow, ProgressBarAndTip) {
    TestWindow* w = Open(L"{\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    const std::wstring initial = w->Tip();
    EXPECT_EQ(initial, L"正在下载游戏文件，请耐心等待.");
    ::SendMessageW(hwnd_, qel::WM_DOWNLOAD_PROGRESS, 42, 0);
    EXPECT_EQ(w->Bar(), 42);
    EXPECT_EQ(w->Tip(), initial);
    for (WPARAM outside : {WPARAM(150), WPARAM(101), WPARAM(-1), WPARAM(0x80000000)}) {
        ::SendMessageW(hwnd_, qel::WM_DOWNLOAD_PROGRESS, outside, 0);
        EXPECT_EQ(w->Bar(), 42) << outside;
    }
    ::SendMessageW(hwnd_, qel::WM_DOWNLOAD_PROGRESS, 100, 0);
    EXPECT_EQ(w->Bar(), 100);
    EXPECT_EQ(w->Tip(), L"正在释放文件");

    // The dots cycle one, two, three, one again (the step counter is process-wide).
    const std::wstring one = L"正在下载游戏文件，请耐心等待.";
    for (int i = 0; i < 3 && w->Tip() != one; ++i)
        ::SendMessageW(hwnd_, WM_TIMER, qel::TIMER_PROGRESS_TIP, 0);
    ASSERT_EQ(w->Tip(), one);
    std::vector<std::wstring> seen;
    for (int i = 0; i < 4; ++i) {
        ::SendMessageW(hwnd_, WM_TIMER, qel::TIMER_PROGRESS_TIP, 0);
        seen.push_back(w->Tip());
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{one + L".", one + L"..", one, one + L"."}));
    // Other timers leave the tip alone.
    ::SendMessageW(hwnd_, WM_TIMER, 7, 0);
    EXPECT_EQ(w->Tip(), one + L".");
}

TEST_F(LoaderWindow, FirstProgressOfHundredSwitchesTheTipAtOnce) {
    TestWindow* w = Open(L"{\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    ::SetTimer(hwnd_, qel::TIMER_PROGRESS_TIP, 50, nullptr);
    ::SendMessageW(hwnd_, qel::WM_DOWNLOAD_PROGRESS, 100, 0);
    EXPECT_EQ(w->Bar(), 100);
    Pump(300);  // the tip timer was stopped, so the text stays
    EXPECT_EQ(w->Tip(), L"正在释放文件");
}

TEST_F(LoaderWindow, NetworkResultZeroWithoutGameReturnsAtOnce) {
    TestWindow* w = Open(L"{\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageW(hwnd_, qel::WM_NETWORK_RESULT, 0, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_TRUE(::IsWindow(hwnd_));
}

TEST_F(LoaderWindow, NetworkResultZeroWaitsUntilTheGameIsGone) {
    TestWindow* w = Open(L"{\"token\":\"T\"}");
    ASSERT_NE(w, nullptr);
    ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LINGER_MS", L"60000");
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + game_ + L"\"";
    ASSERT_TRUE(::CreateProcessW(game_.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LINGER_MS", nullptr);
    qel::UniqueHandleK process(pi.hProcess), thread(pi.hThread);
    ASSERT_FALSE(GameCommandLine().empty());  // it runs
    ::SendMessageW(hwnd_, qel::WM_NETWORK_RESULT, 0, 0);
    // The handler came back only after the game had gone.
    EXPECT_EQ(::WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
    EXPECT_TRUE(::IsWindow(hwnd_));
}

}  // namespace
