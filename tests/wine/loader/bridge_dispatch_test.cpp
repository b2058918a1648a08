// The page control's dispatch interface called as the page script and the
// browser call it: GetIDsOfNames, then Invoke with real VARIANT/DISPPARAMS.
// A hidden window stands in for the loader window and collects what is posted.
#include <gtest/gtest.h>
#include <windows.h>
#include <docobj.h>
#include <mshtmhst.h>

#include <fstream>
#include <string>
#include <vector>

#include "loader/ie_browser_ui.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"
#include "loader/open_game_text.h"
#include "win/com_ptr.h"

namespace {

struct Posted {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Posted>& Inbox() {
    static std::vector<Posted> inbox;
    return inbox;
}

LRESULT CALLBACK InboxProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg >= WM_USER) Inbox().push_back({msg, w, l});
    return ::DefWindowProcW(h, msg, w, l);
}

std::vector<std::string> LogLines() {
    std::ifstream in(qel::Logger::Instance().FileName(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &InboxProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QelBridgeInbox";
        ::RegisterClassW(&wc);
        owner_ = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        ASSERT_NE(owner_, nullptr);
        ie_.SetOwnerWindow(owner_);
        Drain();
        Inbox().clear();
        logBefore_ = LogLines().size();
    }
    void TearDown() override {
        Drain();
        // Whatever the bridge handed over in a test is taken back here.
        for (const Posted& p : Inbox()) {
            std::string text;
            if (p.msg == qel::WM_OPEN_GAME) qel::TakeOpenGameText(p.wParam, text);
        }
        ::DestroyWindow(owner_);
    }

    static void Drain() {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
    }

    std::vector<Posted> Received() {
        Drain();
        return Inbox();
    }
    std::vector<std::string> NewLogLines() {
        auto lines = LogLines();
        return std::vector<std::string>(lines.begin() + std::min(logBefore_, lines.size()), lines.end());
    }

    IDispatch* External() { return ie_.GetDispatch(); }

    // The page script's call: name lookup, then a method call with the argument.
    HRESULT ScriptCall(const wchar_t* method, std::vector<VARIANT> args, DISPID* idOut = nullptr) {
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(method);
        HRESULT hr = External()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        if (idOut) *idOut = id;
        if (FAILED(hr)) return hr;
        DISPPARAMS params = {args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        VARIANT result;
        ::VariantInit(&result);
        hr = External()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                                nullptr);
        EXPECT_EQ(result.vt, VT_EMPTY);
        for (VARIANT& a : args) ::VariantClear(&a);
        return hr;
    }
    static VARIANT Text(const wchar_t* s) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = ::SysAllocString(s);
        return v;
    }
    HRESULT CallWith(const wchar_t* json) { return ScriptCall(L"g_callCppFunc", {Text(json)}); }

    qel::CIeBrowserUI ie_;
    HWND owner_ = nullptr;
    size_t logBefore_ = 0;
};

bool EndsWith(const std::string& s, const std::string& tail) {
    const std::string line = !s.empty() && s.back() == '\r' ? s.substr(0, s.size() - 1) : s;
    return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(Bridge, EachFunctionPostsOneMessageAndLogsItsCall) {
    const struct { const wchar_t* name; UINT msg; const char* log; } cases[] = {
        {L"min_wnd", qel::WM_MIN_WND, "min_wnd call"},
        {L"close_wnd", qel::WM_CLOSE_WND, "close_wnd call"},
        {L"open_game", qel::WM_OPEN_GAME, "open_game call"},
        {L"wnd_mousemove", qel::WM_WND_MOUSEMOVE, "wnd_mousemove call"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.log);
        Inbox().clear();
        logBefore_ = LogLines().size();
        EXPECT_EQ(CallWith((std::wstring(L"{\"funcation_name\":\"") + c.name + L"\"}").c_str()), S_OK);
        const auto got = Received();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].msg, c.msg);
        EXPECT_EQ(got[0].lParam, 0);
        if (c.msg != qel::WM_OPEN_GAME) {
            EXPECT_EQ(got[0].wParam, 0u);
        }
        const auto lines = NewLogLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(EndsWith(lines[0], "CallCppFunc] : " + std::string(c.log))) << lines[0];
        EXPECT_NE(lines[0].find("[ie_browser_ui.cpp<"), std::string::npos) << lines[0];
        std::string taken;
        if (c.msg == qel::WM_OPEN_GAME) {
            EXPECT_TRUE(qel::TakeOpenGameText(got[0].wParam, taken));
        }
        Inbox().clear();
    }
}

TEST_F(Bridge, RequestsThatNameNothingPostNothingAndStillSucceed) {
    const wchar_t* cases[] = {
        L"{\"funcation_name\":\"MIN_WND\"}",
        L"{\"funcation_name\":\"min_wnd \"}",
        L"{\"function_name\":\"min_wnd\"}",
        L"{\"funcation_name\":1129}",
        L"{\"funcation_name\":[\"min_wnd\"]}",
        L"{\"funcation_name\":null}",
        L"[\"min_wnd\"]",
        L"[{\"funcation_name\":\"min_wnd\"}]",
        L"1129",
        L"\"min_wnd\"",
        L"null",
        L"{\"funcation_name\":\"min_wnd\"",
        L"funcation_name=min_wnd",
        L"",
        L"{\"funcation_name\":\"min_wnd\\u0000\"}",
    };
    for (const wchar_t* json : cases) {
        SCOPED_TRACE(::testing::Message() << std::string(json, json + std::wcslen(json)));
        EXPECT_EQ(CallWith(json), S_OK);
        EXPECT_TRUE(Received().empty());
    }
    // Deeper than jsoncpp's nesting limit, where its reader throws.
    EXPECT_EQ(CallWith((L"{\"funcation_name\":\"min_wnd\",\"x\":" + std::wstring(5000, L'[')).c_str()), S_OK);
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(NewLogLines().empty());
}

TEST_F(Bridge, OpenGameHandsOverTheArgumentTextUnchanged) {
    const wchar_t* json = L"{ \"ovext\":\"e=1&f=2\",  \"funcation_name\":\"open_game\",\"token\":\"t k\" }";
    ASSERT_EQ(CallWith(json), S_OK);
    const auto got = Received();
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(got[0].msg, qel::WM_OPEN_GAME);
    EXPECT_EQ(qel::PendingOpenGameTexts(), 1u);
    std::string text;
    ASSERT_TRUE(qel::TakeOpenGameText(got[0].wParam, text));
    EXPECT_EQ(text, "{ \"ovext\":\"e=1&f=2\",  \"funcation_name\":\"open_game\",\"token\":\"t k\" }");
    // Taken once only: a second delivery of the same number is refused.
    EXPECT_FALSE(qel::TakeOpenGameText(got[0].wParam, text));
    EXPECT_EQ(qel::PendingOpenGameTexts(), 0u);
}

TEST_F(Bridge, OpenGameTextIsNarrowedWithTheAnsiCodePage) {
    ASSERT_EQ(CallWith(L"{\"funcation_name\":\"open_game\",\"n\":\"\x00E9\x4E2D\"}"), S_OK);
    const auto got = Received();
    ASSERT_EQ(got.size(), 1u);
    std::string text;
    ASSERT_TRUE(qel::TakeOpenGameText(got[0].wParam, text));
    char expected[64] = {};
    ::WideCharToMultiByte(CP_ACP, 0, L"{\"funcation_name\":\"open_game\",\"n\":\"\x00E9\x4E2D\"}", -1, expected,
                          sizeof expected, nullptr, nullptr);
    EXPECT_EQ(text, expected);
}

TEST_F(Bridge, ForeignOpenGameNumbersAreRefused) {
    // Any program may post 1131 with any number; none of these were handed over.
    char local[] = "{\"token\":\"x\"}";
    std::string text = "unchanged";
    for (WPARAM w : {WPARAM(0), WPARAM(1), reinterpret_cast<WPARAM>(local), WPARAM(0xDEADBEEF)}) {
        EXPECT_FALSE(qel::TakeOpenGameText(w, text));
    }
    EXPECT_EQ(text, "unchanged");
    const auto lines = NewLogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("WM_OPEN_GAME ignored"), std::string::npos) << lines[0];
}

TEST_F(Bridge, OpenGameToAWindowThatIsGoneKeepsNothingPending) {
    HWND gone = ::CreateWindowExW(0, L"QelBridgeInbox", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::DestroyWindow(gone);
    ie_.SetOwnerWindow(gone);
    ASSERT_EQ(CallWith(L"{\"funcation_name\":\"open_game\"}"), S_OK);
    EXPECT_EQ(qel::PendingOpenGameTexts(), 0u);
}

TEST_F(Bridge, CallsArePostedInCallOrder) {
    ASSERT_EQ(CallWith(L"{\"funcation_name\":\"wnd_mousemove\"}"), S_OK);
    ASSERT_EQ(CallWith(L"{\"funcation_name\":\"min_wnd\",\"x\":1}"), S_OK);
    ASSERT_EQ(CallWith(L"{\"funcation_name\":\"close_wnd\"}"), S_OK);
    const auto got = Received();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].msg, qel::WM_WND_MOUSEMOVE);
    EXPECT_EQ(got[1].msg, qel::WM_MIN_WND);
    EXPECT_EQ(got[2].msg, qel::WM_CLOSE_WND);
}

TEST_F(Bridge, NameLookupKnowsOnlyTheExactMethodName) {
    DISPID id = 0;
    for (const wchar_t* other : {L"G_CALLCPPFUNC", L"g_callcppfunc", L"g_callCppFunc ", L"callCppFunc", L""}) {
        EXPECT_EQ(ScriptCall(other, {Text(L"{\"funcation_name\":\"min_wnd\"}")}, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
    EXPECT_TRUE(Received().empty());
    LPOLESTR name = const_cast<LPOLESTR>(L"g_callCppFunc");
    // Interface identifier and locale are not examined.
    EXPECT_EQ(External()->GetIDsOfNames(IID_IDispatch, &name, 1, 0x804, &id), S_OK);
    EXPECT_EQ(id, qel::kDispCallCppFunc);
}

TEST_F(Bridge, WrongArgumentCountIsRefused) {
    EXPECT_EQ(ScriptCall(L"g_callCppFunc", {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(ScriptCall(L"g_callCppFunc",
                         {Text(L"{\"funcation_name\":\"min_wnd\"}"), Text(L"{\"funcation_name\":\"min_wnd\"}")}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(External()->Invoke(qel::kDispCallCppFunc, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                                 nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(Received().empty());
}

TEST_F(Bridge, ArgumentsOtherThanTextAreConvertedFirst) {
    // A property read behaves like a method call; a number becomes its text, which names nothing.
    VARIANT number;
    ::VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 5;
    DISPPARAMS params = {&number, nullptr, 1, 0};
    EXPECT_EQ(External()->Invoke(qel::kDispCallCppFunc, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, nullptr,
                                 nullptr, nullptr),
              S_OK);
    // A null string is empty text; a value with no text form fails the call.
    VARIANT nullText;
    ::VariantInit(&nullText);
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    params.rgvarg = &nullText;
    EXPECT_EQ(External()->Invoke(qel::kDispCallCppFunc, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                 nullptr),
              S_OK);
    VARIANT null;
    ::VariantInit(&null);
    null.vt = VT_NULL;
    params.rgvarg = &null;
    EXPECT_TRUE(FAILED(External()->Invoke(qel::kDispCallCppFunc, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                                          nullptr, nullptr)));
    EXPECT_TRUE(Received().empty());
}

// ---- Browser events, delivered as the browser does: references to variants.

class PageEvents : public Bridge {
protected:
    // Records what would go to the shell instead of starting a browser.
    class Sink : public qel::CWebBrowserEvent {
    public:
        using CWebBrowserEvent::CWebBrowserEvent;
        std::vector<std::wstring> opened;
    protected:
        void OpenInSystemBrowser(const std::wstring& address) override { opened.push_back(address); }
    };

    void SetUp() override {
        Bridge::SetUp();
        sink_.reset(new Sink(owner_));
        ie_.SetEventHandler(sink_.get());
    }

    HRESULT Fire(DISPID id, std::vector<VARIANT> argsLastFirst, REFIID riid = IID_NULL) {
        DISPPARAMS params = {argsLastFirst.empty() ? nullptr : argsLastFirst.data(), nullptr,
                             static_cast<UINT>(argsLastFirst.size()), 0};
        return External()->Invoke(id, riid, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    static VARIANT Ref(VARIANT* v) {
        VARIANT r;
        ::VariantInit(&r);
        r.vt = VT_BYREF | VT_VARIANT;
        r.pvarVal = v;
        return r;
    }
    static VARIANT BoolRef(VARIANT_BOOL* b) {
        VARIANT r;
        ::VariantInit(&r);
        r.vt = VT_BYREF | VT_BOOL;
        r.pboolVal = b;
        return r;
    }
    HRESULT NavigateError(LONG status, VARTYPE vt = VT_I4) {
        url_ = Text(L"https://127.0.0.1/client/index/qel");
        ::VariantInit(&frame_);
        ::VariantInit(&status_);
        status_.vt = vt;
        status_.lVal = status;
        cancel_ = VARIANT_FALSE;
        ::VariantInit(&disp_);
        HRESULT hr = Fire(271, {BoolRef(&cancel_), Ref(&status_), Ref(&frame_), Ref(&url_), disp_});
        ::VariantClear(&url_);
        EXPECT_EQ(cancel_, VARIANT_FALSE);  // navigation is never cancelled
        return hr;
    }
    HRESULT DocumentComplete() {
        url_ = Text(L"https://127.0.0.1/client/index/qel");
        ::VariantInit(&disp_);
        HRESULT hr = Fire(259, {Ref(&url_), disp_});
        ::VariantClear(&url_);
        return hr;
    }
    HRESULT NewWindow3(const wchar_t* address, VARIANT_BOOL* cancel) {
        IDispatch* newDisp = nullptr;
        VARIANT pp, flags, context, target;
        ::VariantInit(&pp);
        pp.vt = VT_BYREF | VT_DISPATCH;
        pp.ppdispVal = &newDisp;
        ::VariantInit(&flags);
        flags.vt = VT_I4;
        flags.lVal = 6;
        context = Text(L"https://127.0.0.1/client/index/qel");
        target = Text(address);
        HRESULT hr = Fire(273, {target, context, flags, BoolRef(cancel), pp});
        ::VariantClear(&context);
        ::VariantClear(&target);
        return hr;
    }
    size_t Count(UINT msg) {
        size_t n = 0;
        for (const Posted& p : Received()) n += p.msg == msg;
        return n;
    }

    std::unique_ptr<Sink> sink_;
    VARIANT url_, frame_, status_, disp_;
    VARIANT_BOOL cancel_ = VARIANT_FALSE;
};

TEST_F(PageEvents, DocumentCompletePostsPageLoadedEveryTime) {
    EXPECT_EQ(DocumentComplete(), S_OK);
    EXPECT_EQ(DocumentComplete(), S_OK);  // frames complete too
    EXPECT_EQ(Count(qel::WM_PAGE_LOADED), 2u);
}

TEST_F(PageEvents, ResourceNotFoundPostsOneNavErrorAndSilencesPageLoaded) {
    EXPECT_EQ(NavigateError(static_cast<LONG>(0x800C0005)), S_OK);
    EXPECT_EQ(DocumentComplete(), S_OK);  // the error document
    const auto got = Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].msg, qel::WM_NAV_ERROR);
    EXPECT_EQ(got[0].wParam, 0u);
    EXPECT_EQ(got[0].lParam, 0);
    EXPECT_TRUE(sink_->NavigateErrorSeen());
}

TEST_F(PageEvents, OtherNavigationErrorsPostNothing) {
    // Download failure and class-not-registered are what Wine reports without an HTML engine.
    for (LONG status : {static_cast<LONG>(0x800C0008), static_cast<LONG>(0x80040154),
                        static_cast<LONG>(0x800C0004), LONG(404), LONG(0)}) {
        EXPECT_EQ(NavigateError(status), S_OK);
    }
    EXPECT_EQ(NavigateError(static_cast<LONG>(0x800C0005), VT_UI4), S_OK);  // right number, wrong type
    EXPECT_TRUE(Received().empty());
    EXPECT_FALSE(sink_->NavigateErrorSeen());
    EXPECT_EQ(DocumentComplete(), S_OK);
    EXPECT_EQ(Count(qel::WM_PAGE_LOADED), 1u);
}

TEST_F(PageEvents, NewWindowIsCancelledAndOnlyWebAddressesReachTheShell) {
    const struct { const wchar_t* address; bool toShell; } cases[] = {
        {L"https://example.com/pay?x=1", true},
        {L"HTTP://example.com/", true},
        {L"file:///C:/windows/system32/calc.exe", false},
        {L"C:\\windows\\system32\\calc.exe", false},
        {L"javascript:alert(1)", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(NewWindow3(c.address, &cancel), S_OK);
        EXPECT_EQ(cancel, VARIANT_TRUE) << c.address;
    }
    EXPECT_EQ(sink_->opened, (std::vector<std::wstring>{L"https://example.com/pay?x=1", L"HTTP://example.com/"}));
    EXPECT_TRUE(Received().empty());
}

TEST_F(PageEvents, RoutingTakesOnlyTheNullInterfaceAndKnownEvents) {
    EXPECT_EQ(Fire(259, {}, IID_IDispatch), E_INVALIDARG);
    EXPECT_EQ(Fire(102, {Text(L"status")}), S_OK);  // StatusTextChange
    EXPECT_EQ(Fire(105, {}), S_OK);                 // CommandStateChange with nothing to say
    EXPECT_EQ(Fire(106, {}), DISP_E_MEMBERNOTFOUND);  // DownloadBegin: not routed
    EXPECT_EQ(Fire(999, {}), DISP_E_MEMBERNOTFOUND);
    // Too few arguments reach no handler.
    EXPECT_EQ(Fire(271, {}), S_OK);
    EXPECT_EQ(Fire(259, {}), S_OK);
    EXPECT_TRUE(Received().empty());
}

// ---- Document-host answers the page relies on.

constexpr GUID kDocHostCommands = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

TEST_F(Bridge, DocumentHostAnswers) {
    qel::ComPtr<IDocHostUIHandler> ui;
    ASSERT_EQ(External()->QueryInterface(IID_IDocHostUIHandler, ui.put_void()), S_OK);
    DOCHOSTUIINFO info = {};
    info.dwFlags = 0x40000;  // what the browser asks for stays
    ASSERT_EQ(ui->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0x200005u | 0x40000u);
    EXPECT_EQ(info.dwDoubleClick, 0u);
    POINT pt = {1, 1};
    EXPECT_EQ(ui->ShowContextMenu(0, &pt, nullptr, nullptr), S_FALSE);

    IDispatch* external = nullptr;
    ASSERT_EQ(ui->GetExternal(&external), S_OK);
    qel::ComPtr<IDispatch> held = qel::ComPtr<IDispatch>::Attach(external);
    LPOLESTR name = const_cast<LPOLESTR>(L"g_callCppFunc");
    DISPID id = 0;
    EXPECT_EQ(held->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1000);
    qel::ComPtr<IUnknown> a, b;
    External()->QueryInterface(IID_IUnknown, a.put_void());
    held->QueryInterface(IID_IUnknown, b.put_void());
    EXPECT_EQ(a.get(), b.get());

    qel::ComPtr<IOleCommandTarget> cmd;
    ASSERT_EQ(External()->QueryInterface(IID_IOleCommandTarget, cmd.put_void()), S_OK);
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(cmd->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), S_OK);
    EXPECT_EQ(out.vt, VT_BOOL);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(cmd->Exec(&kDocHostCommands, OLECMDID_SHOWMESSAGE, 0, nullptr, &out),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(cmd->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(cmd->Exec(&IID_IDispatch, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
}

TEST(BridgeLifetime, ReferencesHeldPastTheControlAnswerWithoutReachingIt) {
    qel::ComPtr<IDispatch> held;
    {
        qel::CIeBrowserUI ie;
        ie.GetDispatch()->AddRef();
        held = qel::ComPtr<IDispatch>::Attach(ie.GetDispatch());
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"g_callCppFunc");
    DISPID id = 0;
    EXPECT_EQ(held->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_UNEXPECTED);
    EXPECT_EQ(held->Invoke(1000, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_UNEXPECTED);
}

}  // namespace
