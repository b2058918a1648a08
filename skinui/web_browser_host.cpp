#include "skinui/web_browser_host.h"

#include <docobj.h>

#include <algorithm>
#include <vector>

namespace qel::ui {

namespace {

constexpr wchar_t kHostClass[] = L"QelWebBrowserHost";

// Spelled out here so the host does not depend on which GUIDs the import
// libraries happen to carry.
constexpr GUID kClsidWebBrowser = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};
constexpr GUID kDiidWebBrowserEvents2 = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};
constexpr GUID kCgidDocHostCommandHandler = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

void RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc = {sizeof wc};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kHostClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// The browser passes most event arguments as references to variants.
VARIANT* Deref(VARIANTARG& v) {
    if (v.vt == (VT_BYREF | VT_VARIANT)) return v.pvarVal;
    return &v;
}

VARIANT_BOOL* BoolRef(VARIANTARG& v) {
    VARIANT* d = Deref(v);
    return d->vt == (VT_BYREF | VT_BOOL) ? d->pboolVal : nullptr;
}

IDispatch* DispatchOf(VARIANTARG& v) {
    VARIANT* d = Deref(v);
    if (d->vt == VT_DISPATCH) return d->pdispVal;
    if (d->vt == (VT_BYREF | VT_DISPATCH)) return d->ppdispVal ? *d->ppdispVal : nullptr;
    return nullptr;
}

BSTR BstrOf(VARIANTARG& v) {
    VARIANT* d = Deref(v);
    if (d->vt == VT_BSTR) return d->bstrVal;
    if (d->vt == (VT_BYREF | VT_BSTR)) return d->pbstrVal ? *d->pbstrVal : nullptr;
    return nullptr;
}

long LongOf(VARIANTARG& v) {
    VARIANT* d = Deref(v);
    switch (d->vt) {
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return d->lVal;
    case VT_I2: return d->iVal;
    case VT_BYREF | VT_I4: return d->plVal ? *d->plVal : 0;
    default: return 0;
    }
}

// Runs the host's part of a COM call: the browser calls through a vtable
// from code that cannot unwind a C++ exception.
template <typename Fn>
HRESULT Guarded(Fn&& fn, HRESULT onException) noexcept {
    try {
        return fn();
    } catch (...) {
        return onException;
    }
}

// Hosts of this thread (all windows live on the window thread).
std::vector<WebBrowserHost*>& LiveHosts() {
    static std::vector<WebBrowserHost*> hosts;
    return hosts;
}

}  // namespace

// The COM side of the host. It outlives the host while the browser still holds
// references; once the host is gone every call answers without reaching it.
class WebBrowserSite final : public IOleClientSite,
                             public IOleInPlaceSite,
                             public IOleInPlaceFrame,
                             public IDocHostUIHandler,
                             public IOleCommandTarget,
                             public IDispatch {
public:
    explicit WebBrowserSite(WebBrowserHost* host) : m_host(host) {}
    void Detach() { m_host = nullptr; }
    void SetRect(const RECT& rc) { m_rect = rc; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (riid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
        else if (riid == IID_IOleCommandTarget) *out = static_cast<IOleCommandTarget*>(this);
        else if (riid == IID_IDispatch || riid == kDiidWebBrowserEvents2) *out = static_cast<IDispatch*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = ::InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** mk) override {
        if (mk) *mk = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** c) override {
        if (c) *c = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and frame)
    STDMETHODIMP GetWindow(HWND* wnd) override {
        if (!wnd) return E_POINTER;
        *wnd = m_host ? m_host->m_hostWnd : nullptr;
        return *wnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_host ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *doc = nullptr;
        *pos = m_rect;
        *clip = m_rect;
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = m_host ? m_host->m_hostWnd : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT rc) override {
        if (!rc || !m_host || !m_host->m_oleObject) return S_OK;
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(m_host->m_oleObject.As(inPlace))) inPlace->SetObjectRects(rc, rc);
        return S_OK;
    }

    // IOleInPlaceUIWindow / IOleInPlaceFrame: no tool space, menus or accelerators.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* pt, IUnknown*, IDispatch*) override {
        if (!m_host) return S_FALSE;
        return Guarded([&] { return m_host->ShowContextMenu(id, pt); }, S_FALSE);
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        if (!m_host) return E_UNEXPECTED;
        return Guarded([&] { return m_host->GetHostInfo(info); }, E_UNEXPECTED);
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
        if (key) *key = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override {
        if (target) *target = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** external) override {
        if (!external) return E_POINTER;
        *external = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }

    // IOleCommandTarget: a script error keeps the scripts running and shows no dialog.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG, OLECMD*, OLECMDTEXT*) override {
        if (group && *group == kCgidDocHostCommandHandler) return OLECMDERR_E_NOTSUPPORTED;
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD, VARIANT*, VARIANT* out) override {
        if (!group || *group != kCgidDocHostCommandHandler) return OLECMDERR_E_UNKNOWNGROUP;
        if (id != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
        if (out) {
            ::VariantClear(out);
            out->vt = VT_BOOL;
            out->boolVal = VARIANT_TRUE;
        }
        return S_OK;
    }

    // IDispatch: the host decides.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ti) override {
        if (ti) *ti = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        if (!m_host) return E_UNEXPECTED;
        return Guarded([&] { return m_host->GetIDsOfNames(riid, names, count, lcid, ids); }, DISP_E_UNKNOWNNAME);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argErr) override {
        if (!m_host) return E_UNEXPECTED;
        return Guarded([&] { return m_host->Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr); },
                       E_UNEXPECTED);
    }

private:
    ~WebBrowserSite() = default;
    LONG m_refs = 1;
    WebBrowserHost* m_host;
    RECT m_rect = {};
};

WebBrowserHost::WebBrowserHost() : m_site(ComPtr<WebBrowserSite>::Attach(new WebBrowserSite(this))) {
    LiveHosts().push_back(this);
}

WebBrowserHost::~WebBrowserHost() {
    auto& hosts = LiveHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    DestroyBrowser();
    m_site->Detach();
}

IDispatch* WebBrowserHost::GetDispatch() const { return static_cast<IDispatch*>(m_site.get()); }

HRESULT WebBrowserHost::CreateBrowser(HWND parent, const RECT& rect, bool visible) {
    if (m_browser) return S_FALSE;
    RegisterHostClass();
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (visible) style |= WS_VISIBLE;
    m_hostWnd = ::CreateWindowExW(0, kHostClass, L"", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hostWnd) {
        // A failed creation may leave no error code, and HRESULT_FROM_WIN32(0) is S_OK.
        const DWORD error = ::GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }

    const RECT inner = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    m_site->SetRect(inner);
    HRESULT hr = ::CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    m_oleObject.put_void());
    if (SUCCEEDED(hr)) hr = m_oleObject->SetClientSite(static_cast<IOleClientSite*>(m_site.get()));
    if (SUCCEEDED(hr)) {
        hr = m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site.get()), 0,
                                 m_hostWnd, &inner);
    }
    if (SUCCEEDED(hr)) hr = m_oleObject.As(m_browser);
    if (FAILED(hr)) {
        DestroyBrowser();
        return hr;
    }
    // Without the event connection the page still shows; it just reports nothing.
    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(m_oleObject.As(points)) &&
        SUCCEEDED(points->FindConnectionPoint(kDiidWebBrowserEvents2, m_eventPoint.put()))) {
        if (FAILED(m_eventPoint->Advise(GetDispatch(), &m_eventCookie))) {
            m_eventPoint.reset();
            m_eventCookie = 0;
        }
    }
    return S_OK;
}

void WebBrowserHost::DestroyBrowser() {
    if (m_eventPoint) {
        m_eventPoint->Unadvise(m_eventCookie);
        m_eventPoint.reset();
        m_eventCookie = 0;
    }
    m_browser.reset();
    if (m_oleObject) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(m_oleObject.As(inPlace))) inPlace->InPlaceDeactivate();
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
        m_oleObject.reset();
    }
    if (m_hostWnd) {
        ::DestroyWindow(m_hostWnd);
        m_hostWnd = nullptr;
    }
}

void WebBrowserHost::SetBrowserRect(const RECT& rect) {
    if (!m_hostWnd) return;
    ::MoveWindow(m_hostWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    const RECT inner = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    m_site->SetRect(inner);
    ComPtr<IOleInPlaceObject> inPlace;
    if (m_oleObject && SUCCEEDED(m_oleObject.As(inPlace))) inPlace->SetObjectRects(&inner, &inner);
}

void WebBrowserHost::ShowBrowser(bool show) {
    if (m_hostWnd) ::ShowWindow(m_hostWnd, show ? SW_SHOWNA : SW_HIDE);
}

bool WebBrowserHost::IsBrowserShown() const {
    return m_hostWnd && (::GetWindowLongW(m_hostWnd, GWL_STYLE) & WS_VISIBLE);
}

HRESULT WebBrowserHost::Navigate(const std::wstring& address) {
    if (!m_browser) return E_UNEXPECTED;
    UniqueBstr url(::SysAllocString(address.c_str()));
    if (!url) return E_OUTOFMEMORY;
    VARIANT empty;
    ::VariantInit(&empty);
    return m_browser->Navigate(url.get(), &empty, &empty, &empty, &empty);
}

bool WebBrowserHost::TranslateBrowserAccelerator(const MSG* msg) {
    if (!msg || !msg->hwnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    for (WebBrowserHost* host : LiveHosts()) {
        if (!host->m_oleObject || !host->m_hostWnd) continue;
        if (!::IsChild(host->m_hostWnd, msg->hwnd)) continue;
        ComPtr<IOleInPlaceActiveObject> active;
        if (FAILED(host->m_oleObject.As(active))) return false;
        return active->TranslateAccelerator(const_cast<MSG*>(msg)) == S_OK;
    }
    return false;
}

HRESULT WebBrowserHost::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    if (ids && count > 0) ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT WebBrowserHost::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                               UINT*) {
    return RouteEvent(id, riid, params);
}

HRESULT WebBrowserHost::RouteEvent(DISPID id, REFIID riid, DISPPARAMS* params) {
    if (riid != IID_NULL) return E_INVALIDARG;
    // Arguments arrive last first: rgvarg[0] is the event's final parameter.
    auto has = [params](UINT n) { return params && params->rgvarg && params->cArgs >= n; };
    WebBrowserEventHandler* h = m_handler;
    switch (id) {
    case kDispBeforeNavigate2:
        if (h && has(7)) {
            VARIANTARG* a = params->rgvarg;
            h->BeforeNavigate2(DispatchOf(a[6]), Deref(a[5]), Deref(a[4]), Deref(a[3]), Deref(a[2]), Deref(a[1]),
                               BoolRef(a[0]));
        }
        return S_OK;
    case kDispNavigateComplete2:
        InstallUiHandler();
        if (h && has(2)) h->NavigateComplete2(DispatchOf(params->rgvarg[1]), Deref(params->rgvarg[0]));
        return S_OK;
    case kDispDocumentComplete:
        if (h && has(2)) h->DocumentComplete(DispatchOf(params->rgvarg[1]), Deref(params->rgvarg[0]));
        return S_OK;
    case kDispNavigateError:
        if (h && has(5)) {
            VARIANTARG* a = params->rgvarg;
            h->NavigateError(DispatchOf(a[4]), Deref(a[3]), Deref(a[2]), Deref(a[1]), BoolRef(a[0]));
        }
        return S_OK;
    case kDispNewWindow3:
        if (h && has(5)) {
            VARIANTARG* a = params->rgvarg;
            VARIANT* pp = Deref(a[4]);
            IDispatch** ppDisp = pp->vt == (VT_BYREF | VT_DISPATCH) ? pp->ppdispVal : nullptr;
            h->NewWindow3(ppDisp, BoolRef(a[3]), static_cast<DWORD>(LongOf(a[2])), BstrOf(a[1]), BstrOf(a[0]));
        }
        return S_OK;
    case kDispCommandStateChange:
        if (h && has(2)) {
            VARIANT* enable = Deref(params->rgvarg[0]);
            h->CommandStateChange(LongOf(params->rgvarg[1]),
                                  enable->vt == VT_BOOL ? enable->boolVal : VARIANT_FALSE);
        }
        return S_OK;
    case kDispStatusTextChange:
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

void WebBrowserHost::InstallUiHandler() {
    if (!m_browser) return;
    ComPtr<IDispatch> doc;
    if (FAILED(m_browser->get_Document(doc.put())) || !doc) return;
    ComPtr<ICustomDoc> custom;
    if (SUCCEEDED(doc.As(custom))) custom->SetUIHandler(static_cast<IDocHostUIHandler*>(m_site.get()));
}

HRESULT WebBrowserHost::ShowContextMenu(DWORD id, POINT* pt) {
    if (m_handler) return m_handler->ShowContextMenu(id, pt);
    return S_FALSE;
}

HRESULT WebBrowserHost::GetHostInfo(DOCHOSTUIINFO* info) {
    if (m_handler) return m_handler->GetHostInfo(info);
    return WebBrowserEventHandler().GetHostInfo(info);
}

}  // namespace qel::ui
