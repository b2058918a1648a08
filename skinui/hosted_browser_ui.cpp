#include "skinui/hosted_browser_ui.h"

#include "skinui/paint_manager.h"

namespace qel::ui {

void HostedBrowserUI::DoInit() {
    if (!DelayCreate()) CreateOnce();
}

void HostedBrowserUI::SetPos(const RECT& rect) {
    WebBrowserUI::SetPos(rect);
    if (HasBrowser()) SetBrowserRect(rect);
}

void HostedBrowserUI::SetInternVisible(bool shown) {
    WebBrowserUI::SetInternVisible(shown);
    if (shown && !HasBrowser() && DelayCreate()) CreateOnce();
    if (HasBrowser()) ShowBrowser(shown);
}

void HostedBrowserUI::CreateOnce() {
    // A control that cannot be created (no COM on the thread, no component)
    // would fail the same way every time.
    if (m_bCreateTried || !Manager() || !Manager()->GetPaintWindow()) return;
    m_bCreateTried = true;
    m_createResult = CreateBrowser(Manager()->GetPaintWindow(), GetPos(), IsVisible());
    if (SUCCEEDED(m_createResult) && AutoNavigate() && !HomePage().empty()) Navigate(HomePage());
}

}  // namespace qel::ui
