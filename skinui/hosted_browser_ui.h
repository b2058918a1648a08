#pragma once
// The skin's page element with the web-browser control living in it: the
// element's place and visibility drive the control's window, and its
// "homepage", "autonavi" and "delaycreate" attributes its start.
#include <windows.h>

#include "skinui/controls.h"
#include "skinui/web_browser_host.h"

namespace qel::ui {

class HostedBrowserUI : public WebBrowserUI, public WebBrowserHost {
public:
    // Creates the control once the window's skin is built, unless "delaycreate"
    // puts that off until the element is first shown.
    void DoInit() override;
    void SetPos(const RECT& rect) override;
    void SetInternVisible(bool shown) override;

    // The answer of the control's creation; S_FALSE while none was tried.
    HRESULT CreateResult() const { return m_createResult; }

private:
    void CreateOnce();
    HRESULT m_createResult = S_FALSE;
    bool m_bCreateTried = false;
};

}  // namespace qel::ui
