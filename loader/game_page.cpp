// GameLoaderWnd's game page: the page control is prepared, pointed at the game
// page with the launch parameters, and kept hidden until the page has loaded.
#include <exdisp.h>

#include "core/page_address.h"
#include "loader/common.h"
#include "loader/game_loader_wnd.h"
#include "loader/logger.h"

namespace qel {

void GameLoaderWnd::LoadWeb() {
    QEL_LOG(2, L"GameLoaderWnd LoadWeb");
    if (!m_pIe) return;
    if (!m_pIe->HasBrowser())
        QEL_LOG(0, L"GameLoaderWnd LoadWeb: no browser control, hr=0x" << std::hex << m_pIe->CreateResult());
    if (m_pIe->GetEventHandler() != m_pBrowserEvent.get()) m_pIe->SetEventHandler(m_pBrowserEvent.get());
    // No dialog boxes of the browser's own, such as script-error prompts.
    if (ComPtr<IWebBrowser2> browser = m_pIe->GetWebBrowser2()) browser->put_Silent(VARIANT_TRUE);

    GamePageValues values;
    values.fileParam = m_strFileParam;
    QEL_LOG(2, L"fileparam=" << m_strFileParam);
    values.token = m_strToken;
    values.source = m_strSource;
    values.ovExt = m_strOvExt;
    values.tokenLogin = m_strTokenLogin;
    const HRESULT hr = m_pIe->Navigate(BuildGamePageAddress(AnsiToWide(kGamePageBase), values));
    if (FAILED(hr)) QEL_LOG(0, L"GameLoaderWnd LoadWeb Navigate failed, hr=0x" << std::hex << hr);
    m_pIe->SetVisible(false);
}

}  // namespace qel
