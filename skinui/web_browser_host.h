#pragma once
// In-place host of the system web-browser control (IWebBrowser2): a child
// window that holds the control, the OLE site around it, the document-host UI
// handler and the connection to the browser's event interface.
//
// One dispatch interface serves as the browser's event sink and as the page's
// external object (window.external), so derived hosts that add script methods
// share the dispatch-identifier space with the browser events. Derived classes
// override GetIDsOfNames/Invoke for their own identifiers and pass everything
// else to RouteEvent.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include <string>

#include "win/com_ptr.h"

namespace qel::ui {

// Dispatch identifiers of the browser events the host routes.
enum : DISPID {
    kDispStatusTextChange = 102,
    kDispCommandStateChange = 105,
    kDispBeforeNavigate2 = 250,
    kDispNavigateComplete2 = 252,
    kDispDocumentComplete = 259,
    kDispNavigateError = 271,
    kDispNewWindow3 = 273,
};

// Host info flags added to whatever the browser asks for: dialog-like, no 3-D borders.
constexpr DWORD kHostUiFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;

// Receives the browser events of one host. Every answer defaults to doing
// nothing. A by-reference argument arrives already dereferenced; an argument
// of an unexpected type arrives as null.
class WebBrowserEventHandler {
public:
    virtual ~WebBrowserEventHandler() = default;
    virtual void BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT* /*url*/, VARIANT* /*flags*/,
                                 VARIANT* /*targetFrameName*/, VARIANT* /*postData*/, VARIANT* /*headers*/,
                                 VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateError(IDispatch* /*pDisp*/, VARIANT* /*url*/, VARIANT* /*targetFrameName*/,
                               VARIANT* /*statusCode*/, VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateComplete2(IDispatch* /*pDisp*/, VARIANT* /*url*/) {}
    virtual void DocumentComplete(IDispatch* /*pDisp*/, VARIANT* /*url*/) {}
    // Kept for the browser's progress event, which the host does not route.
    virtual void ProgressChange(long /*progress*/, long /*progressMax*/) {}
    virtual void NewWindow3(IDispatch** /*ppDisp*/, VARIANT_BOOL* /*cancel*/, DWORD /*flags*/,
                            BSTR /*urlContext*/, BSTR /*url*/) {}
    virtual void CommandStateChange(long /*command*/, VARIANT_BOOL /*enable*/) {}

    // Document-host hooks; the defaults are the host's own answers.
    virtual HRESULT ShowContextMenu(DWORD /*id*/, POINT* /*pt*/) { return S_FALSE; }  // browser's own menu
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info) {
        info->cbSize = sizeof(DOCHOSTUIINFO);
        info->dwFlags |= kHostUiFlags;
        return S_OK;
    }
};

class WebBrowserSite;

class WebBrowserHost {
public:
    WebBrowserHost();
    virtual ~WebBrowserHost();
    WebBrowserHost(const WebBrowserHost&) = delete;
    WebBrowserHost& operator=(const WebBrowserHost&) = delete;

    // Creates the browser control in a child window of `parent` at `rect`
    // (parent client coordinates), activates it in place and connects the
    // event sink. The caller's thread must have OLE initialised.
    HRESULT CreateBrowser(HWND parent, const RECT& rect, bool visible = true);
    void DestroyBrowser();
    bool HasBrowser() const { return static_cast<bool>(m_browser); }

    void SetBrowserRect(const RECT& rect);
    void ShowBrowser(bool show);
    bool IsBrowserShown() const;
    HRESULT Navigate(const std::wstring& address);

    // The browser object; empty before CreateBrowser.
    ComPtr<IWebBrowser2> GetWebBrowser2() const { return m_browser; }
    // The host's dispatch interface (event sink and page external object); not AddRef'd.
    IDispatch* GetDispatch() const;
    HWND HostWindow() const { return m_hostWnd; }

    void SetEventHandler(WebBrowserEventHandler* handler) { m_handler = handler; }
    WebBrowserEventHandler* GetEventHandler() const { return m_handler; }

    // Offers a keyboard message meant for a browser window to that browser, so
    // that Tab, Enter and the editing keys work inside the page. True when the
    // browser used it; call before TranslateMessage/DispatchMessage.
    static bool TranslateBrowserAccelerator(const MSG* msg);

    // The dispatch interface. The base knows no names, and Invoke routes browser events.
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
    virtual HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excepInfo, UINT* argErr);

protected:
    HRESULT RouteEvent(DISPID id, REFIID riid, DISPPARAMS* params);

private:
    friend class WebBrowserSite;
    // Makes the host the document's UI handler, so host flags, context menu,
    // external object and script-error answers apply to the page.
    void InstallUiHandler();
    HRESULT ShowContextMenu(DWORD id, POINT* pt);
    HRESULT GetHostInfo(DOCHOSTUIINFO* info);

    ComPtr<WebBrowserSite> m_site;
    WebBrowserEventHandler* m_handler = nullptr;
    HWND m_hostWnd = nullptr;
    ComPtr<IOleObject> m_oleObject;
    ComPtr<IWebBrowser2> m_browser;
    ComPtr<IConnectionPoint> m_eventPoint;
    DWORD m_eventCookie = 0;
};

}  // namespace qel::ui
