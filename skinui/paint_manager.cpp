#include "skinui/paint_manager.h"

#include <shlwapi.h>
#include <windowsx.h>

#include "win/gdiplus_scope.h"
#include "win/unique_handle.h"

namespace qel::ui {

bool EnsureGdiplus() {
    static GdiplusScope scope;
    return scope.ok();
}

PaintManager::~PaintManager() {
    // Controls and pieces may point into the images and fonts: they go first.
    m_root.reset();
    m_pieces.clear();
}

void PaintManager::Init(HWND hwnd, const SkinArchive* archive) {
    EnsureGdiplus();
    m_hwnd = hwnd;
    m_archive = archive;
}

void PaintManager::SetRoot(std::unique_ptr<Control> root) {
    m_root = std::move(root);
    if (m_root) m_root->SetManager(this);
}

void PaintManager::RegisterName(Control* control) {
    if (control && !control->GetName().empty()) m_names[control->GetName()] = control;
}

Control* PaintManager::FindControl(const std::wstring& name) const {
    auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : it->second;
}

Control* PaintManager::FindControl(POINT pt) const { return m_root ? m_root->HitTest(pt) : nullptr; }

namespace {
int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const std::wstring& face) {
    WindowDC dc(nullptr);
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(dc.get(), &lf, &FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The layouts name the face the product is designed with; a machine without
// it gets the nearest installed CJK sans face instead of boxes.
std::wstring InstalledFace(const std::wstring& wanted) {
    if (FaceInstalled(wanted)) return wanted;
    for (const wchar_t* face : {L"Microsoft YaHei", L"WenQuanYi Micro Hei", L"Noto Sans CJK SC", L"SimHei",
                                L"SimSun", L"Tahoma"})
        if (FaceInstalled(face)) return face;
    return wanted;
}
}  // namespace

void PaintManager::AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic,
                           bool isDefault) {
    LOGFONTW lf = {};
    lf.lfHeight = -size;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline;
    lf.lfItalic = italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, InstalledFace(face).c_str(), LF_FACESIZE);
    FontEntry& e = m_fonts[id];
    e.font.reset();
    e.hfont.reset(::CreateFontIndirectW(&lf));
    WindowDC dc(nullptr);
    e.font.reset(new Gdiplus::Font(dc.get(), static_cast<HFONT>(e.hfont.get())));
    if (isDefault || m_defaultFont < 0) m_defaultFont = id;
}

Gdiplus::Font* PaintManager::GetFont(int id) {
    auto it = m_fonts.find(id);
    if (it == m_fonts.end()) it = m_fonts.find(m_defaultFont);
    if (it == m_fonts.end()) {
        AddFont(0, L"Microsoft YaHei", 12, false, false, false, true);
        it = m_fonts.find(m_defaultFont);
    }
    return it->second.font.get();
}

HFONT PaintManager::GetHFont(int id) {
    GetFont(id);
    auto it = m_fonts.find(id);
    if (it == m_fonts.end()) it = m_fonts.find(m_defaultFont);
    return it == m_fonts.end() ? nullptr : static_cast<HFONT>(it->second.hfont.get());
}

Gdiplus::Bitmap* PaintManager::GetImage(const std::string& file) {
    auto it = m_images.find(file);
    if (it != m_images.end()) return it->second.bitmap.get();
    ImageEntry& e = m_images[file];
    std::string bytes;
    if (!m_archive || !m_archive->ReadFile(file, bytes) || bytes.empty()) return nullptr;
    e.stream = ComPtr<IStream>::Attach(
        ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    if (!e.stream) return nullptr;
    e.bitmap.reset(Gdiplus::Bitmap::FromStream(e.stream.get()));
    if (e.bitmap && e.bitmap->GetLastStatus() != Gdiplus::Ok) e.bitmap.reset();
    return e.bitmap.get();
}

namespace {
// Nearest-neighbour resize; null when the size is already right or on failure.
std::unique_ptr<Gdiplus::Bitmap> Stretch(Gdiplus::Bitmap& from, int w, int h) {
    const int fw = static_cast<int>(from.GetWidth()), fh = static_cast<int>(from.GetHeight());
    if ((fw == w && fh == h) || w <= 0 || h <= 0 || fw <= 0 || fh <= 0) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> to(new Gdiplus::Bitmap(w, h, PixelFormat32bppARGB));
    Gdiplus::BitmapData in = {}, out = {};
    Gdiplus::Rect all(0, 0, fw, fh), target(0, 0, w, h);
    if (from.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &in) != Gdiplus::Ok) return nullptr;
    if (to->LockBits(&target, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &out) != Gdiplus::Ok) {
        from.UnlockBits(&in);
        return nullptr;
    }
    for (int y = 0; y < h; ++y) {
        const auto* srcRow = reinterpret_cast<const UINT32*>(static_cast<const BYTE*>(in.Scan0) + (y * fh / h) * in.Stride);
        auto* dstRow = reinterpret_cast<UINT32*>(static_cast<BYTE*>(out.Scan0) + y * out.Stride);
        for (int x = 0; x < w; ++x) dstRow[x] = srcRow[x * fw / w];
    }
    to->UnlockBits(&out);
    from.UnlockBits(&in);
    return to;
}
}  // namespace

Gdiplus::Bitmap* PaintManager::Piece(const std::string& file, Gdiplus::Bitmap& image, int x, int y, int w, int h) {
    const std::string key = file + "|" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                            std::to_string(h);
    auto it = m_pieces.find(key);
    if (it != m_pieces.end()) return it->second.get();
    std::unique_ptr<Gdiplus::Bitmap> piece(image.Clone(x, y, w, h, PixelFormat32bppARGB));
    if (piece && piece->GetLastStatus() != Gdiplus::Ok) piece.reset();
    return (m_pieces[key] = std::move(piece)).get();
}

bool PaintManager::DrawImage(Gdiplus::Graphics& g, const std::string& attr, const RECT& dst) {
    const SkinImageRef ref = ParseSkinImageRef(attr);
    Gdiplus::Bitmap* bmp = GetImage(ref.file);
    if (!bmp) return false;
    const int w = static_cast<int>(bmp->GetWidth()), h = static_cast<int>(bmp->GetHeight());
    SkinRect src = ref.hasSource ? ref.source : SkinRect{0, 0, w, h};
    const SkinRect target{dst.left, dst.top, dst.right, dst.bottom};
    Gdiplus::ImageAttributes attrs;
    attrs.SetWrapMode(Gdiplus::WrapModeTileFlipXY);  // no grey seams at stretched edges
    // Pieces of a nine-grid stretch along rows or columns of equal pixels; a
    // smoothing filter would only blur their borders into visible seams.
    const Gdiplus::InterpolationMode before = g.GetInterpolationMode();
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    for (const NineGridPiece& p : NineGrid(src.Width(), src.Height(), ref.corner, target)) {
        Gdiplus::Bitmap* piece = Piece(ref.file, *bmp, src.left + p.src.left, src.top + p.src.top,
                                       p.src.Width(), p.src.Height());
        if (!piece) continue;
        // Stretched here, pixel by pixel, and drawn at its size: GDI+ stretching
        // (at least Wine's) leaves a seam of empty pixels at a piece's edge.
        std::unique_ptr<Gdiplus::Bitmap> sized = Stretch(*piece, p.dst.Width(), p.dst.Height());
        Gdiplus::Bitmap* draw = sized ? sized.get() : piece;
        Gdiplus::Rect d(p.dst.left, p.dst.top, p.dst.Width(), p.dst.Height());
        g.DrawImage(draw, d, 0, 0, static_cast<INT>(draw->GetWidth()), static_cast<INT>(draw->GetHeight()),
                    Gdiplus::UnitPixel, &attrs);
    }
    g.SetInterpolationMode(before);
    return true;
}

void PaintManager::Invalidate(const RECT& rc) {
    if (m_hwnd) ::InvalidateRect(m_hwnd, &rc, FALSE);
}

void PaintManager::SendNotify(Control* sender, const wchar_t* type) {
    if (!m_notifier) return;
    ui::Notify msg;
    msg.sType = type;
    msg.pSender = sender;
    m_notifier->Notify(msg);
}

void PaintManager::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w > 0 && h > 0 && m_root) {
        UniqueMemoryDC mem(::CreateCompatibleDC(dc));
        UniqueGdiObject bitmap(::CreateCompatibleBitmap(dc, w, h));
        ScopedSelect selected(mem.get(), bitmap.get());
        {
            Gdiplus::Graphics g(mem.get());
            g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
            g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
            g.FillRectangle(&white, 0, 0, w, h);
            m_root->Paint(g);
        }
        ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, mem.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    ::EndPaint(m_hwnd, &ps);
}

void PaintManager::SetHot(Control* control) {
    if (control == m_hot) return;
    if (m_hot) m_hot->OnMouseLeave();
    m_hot = control;
    if (m_hot) m_hot->OnMouseEnter();
}

bool PaintManager::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        Paint();
        return true;
    case WM_SIZE:
        if (m_root && wParam != SIZE_MINIMIZED) {
            RECT client = {};
            ::GetClientRect(m_hwnd, &client);
            m_root->SetPos(client);
            ::InvalidateRect(m_hwnd, nullptr, FALSE);
        }
        return false;
    case WM_MOUSEMOVE: {
        if (!m_tracking) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hwnd, 0};
            m_tracking = ::TrackMouseEvent(&tme) != FALSE;
        }
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        Control* c = FindControl(pt);
        if (c && !c->WantsMouse()) c = nullptr;
        // While a button is held only that button can be hot.
        if (m_pushed && c != m_pushed) c = nullptr;
        SetHot(c);
        return false;
    }
    case WM_MOUSELEAVE:
        m_tracking = false;
        if (!m_pushed) SetHot(nullptr);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        Control* c = FindControl(pt);
        if (!c || !c->WantsMouse()) return false;
        m_pushed = c;
        SetHot(c);
        ::SetCapture(m_hwnd);
        c->OnButtonDown();
        return true;
    }
    case WM_LBUTTONUP: {
        if (!m_pushed) return false;
        Control* c = m_pushed;
        m_pushed = nullptr;
        if (::GetCapture() == m_hwnd) ::ReleaseCapture();
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const bool inside = c->IsVisible() && ::PtInRect(&c->GetPos(), pt);
        c->OnButtonUp(inside);
        if (!inside) SetHot(nullptr);
        if (inside) SendNotify(c, L"click");
        return true;
    }
    case WM_CAPTURECHANGED:
        if (m_pushed && reinterpret_cast<HWND>(lParam) != m_hwnd) {
            m_pushed->OnButtonUp(false);
            m_pushed = nullptr;
            SetHot(nullptr);
        }
        return false;
    default:
        return false;
    }
}

}  // namespace qel::ui
