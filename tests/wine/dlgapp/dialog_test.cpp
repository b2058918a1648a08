#include "dlgapp/dialog.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kStaticId = 1001;
constexpr UINT WM_TEST_FINISH = WM_APP + 1;  // wParam: the EndDialog result

// A dialog template in memory: a popup with one static control (id 1001).
class MemoryTemplate {
public:
    explicit MemoryTemplate(bool withStatic) {
        DLGTEMPLATE dlg = {};
        dlg.style = WS_POPUP | DS_MODALFRAME;
        dlg.cdit = withStatic ? 1 : 0;
        dlg.cx = 100;
        dlg.cy = 40;
        Append(&dlg, sizeof(dlg));
        Words({0, 0, 0});  // no menu, default class, no title
        if (withStatic) {
            Align();
            DLGITEMTEMPLATE item = {};
            item.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
            item.cx = 80;
            item.cy = 10;
            item.id = kStaticId;
            Append(&item, sizeof(item));
            Words({0xFFFF, 0x0082, 0, 0});  // static class, empty text, no creation data
        }
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Append(const void* p, size_t n) {
        size_t at = m_words.size();
        m_words.resize(at + n / 2);
        std::memcpy(&m_words[at], p, n);
    }
    void Words(std::initializer_list<WORD> w) { m_words.insert(m_words.end(), w); }
    void Align() {
        if (m_words.size() % 2) m_words.push_back(0);  // items start on a DWORD boundary
    }
    std::vector<WORD> m_words;
};

class TestDialog : public dlgapp::Dialog {
public:
    explicit TestDialog(const DLGTEMPLATE* t) : dlgapp::Dialog(t) {
        OnMessage(WM_TEST_FINISH, [this](WPARAM wp, LPARAM) {
            EndDialog(static_cast<INT_PTR>(wp));
            return 0;
        });
    }
    // Messages posted to the dialog as soon as it exists, in order.
    std::vector<MSG> toPost;
    bool swallowEscape = false;
    bool bindStatic = false;
    dlgapp::Window staticControl;
    HWND created = nullptr;

protected:
    bool OnInitDialog() override {
        dlgapp::Dialog::OnInitDialog();
        created = Hwnd();
        for (const MSG& m : toPost) ::PostMessageW(Hwnd(), m.message, m.wParam, m.lParam);
        return true;
    }
    void DoDataExchange(dlgapp::DataExchange& dx) override {
        if (bindStatic) dx.Control(kStaticId, staticControl);
    }
    bool PreTranslateMessage(MSG* msg) override {
        if (swallowEscape && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
        return dlgapp::Dialog::PreTranslateMessage(msg);
    }
};

MSG Msg(UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    MSG m = {};
    m.message = message;
    m.wParam = wp;
    m.lParam = lp;
    return m;
}

TEST(ModalDialog, EndDialogResultAndWindowGone) {
    MemoryTemplate t(false);
    TestDialog dlg(t.get());
    dlg.toPost = {Msg(WM_TEST_FINISH, 42)};
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_FALSE(::IsWindow(dlg.created));
    EXPECT_FALSE(dlg.IsBound());
}

TEST(ModalDialog, QuitPostedToTheWindowEndsTheLoop) {
    MemoryTemplate t(false);
    TestDialog dlg(t.get());
    dlg.toPost = {Msg(WM_QUIT, 3), Msg(WM_TEST_FINISH, 42)};
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.QuitCode(), 3);
    EXPECT_FALSE(::IsWindow(dlg.created));
}

TEST(ModalDialog, KeysGoThroughPreTranslation) {
    MemoryTemplate t(false);
    {
        TestDialog dlg(t.get());  // the dialog manager turns Escape into IDCANCEL
        dlg.toPost = {Msg(WM_KEYDOWN, VK_ESCAPE), Msg(WM_TEST_FINISH, 42)};
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        TestDialog dlg(t.get());
        dlg.swallowEscape = true;
        dlg.toPost = {Msg(WM_KEYDOWN, VK_ESCAPE), Msg(WM_TEST_FINISH, 42)};
        EXPECT_EQ(dlg.DoModal(), 42);
    }
    {
        TestDialog dlg(t.get());
        dlg.swallowEscape = true;
        dlg.toPost = {Msg(WM_KEYDOWN, VK_RETURN), Msg(WM_TEST_FINISH, 42)};
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
}

// Records what reaches a bound control, and answers one message itself.
class RecordingControl : public dlgapp::Window {
public:
    std::wstring lastText;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_SETTEXT) lastText = reinterpret_cast<const wchar_t*>(lp);
        if (msg == WM_APP + 7) return 77;
        return dlgapp::Window::WindowProc(msg, wp, lp);
    }
};

class BindingDialog : public TestDialog {
public:
    using TestDialog::TestDialog;
    RecordingControl control;
    std::wstring textSeen;
    LRESULT answer = 0;

protected:
    void DoDataExchange(dlgapp::DataExchange& dx) override { dx.Control(kStaticId, control); }
    bool OnInitDialog() override {
        TestDialog::OnInitDialog();
        control.SetWindowText(L"bound");
        textSeen = control.GetWindowText();  // the control's own processing still ran
        answer = control.SendMessage(WM_APP + 7);
        return true;
    }
};

TEST(DataExchange, BindsControlsSoTheyGetTheirMessagesFirst) {
    MemoryTemplate t(true);
    BindingDialog dlg(t.get());
    dlg.toPost = {Msg(WM_TEST_FINISH, 1)};
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.control.lastText, L"bound");
    EXPECT_EQ(dlg.textSeen, L"bound");
    EXPECT_EQ(dlg.answer, 77);
    EXPECT_FALSE(dlg.control.IsBound());  // released with its window
}

class MapDialog : public TestDialog {
public:
    explicit MapDialog(const DLGTEMPLATE* t) : TestDialog(t) {
        OnMessage(WM_CLOSE, [this](WPARAM, LPARAM) {
            ++closes;
            return 0;
        });
    }
    int closes = 0;
};

TEST(MessageMap, HandlerReplacesTheDefaultClose) {
    MemoryTemplate t(false);
    MapDialog dlg(t.get());
    // Without the handler, WM_CLOSE would end the dialog as IDCANCEL.
    dlg.toPost = {Msg(WM_CLOSE), Msg(WM_TEST_FINISH, 5)};
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_EQ(dlg.closes, 1);
}

}  // namespace
