#pragma once
// Everything a skinned window's controls share: the window handle, the skin
// archive, decoded images, fonts, the name index, mouse state and the
// notification receiver. One per window.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/skin_attrs.h"
#include "skinui/controls.h"
#include "skinui/skin_archive.h"
#include "win/com_ptr.h"
#include "win/unique_handle.h"

namespace qel::ui {

struct Notify {
    std::wstring sType;  // "click"
    Control* pSender = nullptr;
};

class NotifyReceiver {
public:
    virtual ~NotifyReceiver() = default;
    virtual void Notify(ui::Notify& msg) = 0;
};

// Window facts of a layout's <Window> element.
struct WindowInfo {
    SIZE size = {};
    SIZE minInfo = {};
    SIZE maxInfo = {};
    RECT caption = {};  // left/right are insets, top..bottom is the band
    RECT sizeBox = {};
    bool showShadow = false;
    std::string shadowImage;
    RECT shadowCorner = {};
};

class PaintManager {
public:
    PaintManager() = default;
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    void Init(HWND hwnd, const SkinArchive* archive);
    HWND GetPaintWindow() const { return m_hwnd; }
    const SkinArchive* Archive() const { return m_archive; }

    void SetRoot(std::unique_ptr<Control> root);
    Control* GetRoot() const { return m_root.get(); }
    // The last control registered under a name wins.
    void RegisterName(Control* control);
    Control* FindControl(const std::wstring& name) const;
    Control* FindControl(POINT pt) const;

    WindowInfo& Info() { return m_info; }
    const WindowInfo& Info() const { return m_info; }

    void AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic, bool isDefault);
    // The font of an index; the default font for -1 or an unknown index.
    Gdiplus::Font* GetFont(int id);
    HFONT GetHFont(int id);

    // Decoded once, kept for the life of the window; null when missing or not an image.
    Gdiplus::Bitmap* GetImage(const std::string& file);
    // Draws an image attribute ("a.png" or "file='a.png' corner='3,3,3,3'") into dst.
    bool DrawImage(Gdiplus::Graphics& g, const std::string& attr, const RECT& dst);

    void Invalidate(const RECT& rc);
    void SetNotifier(NotifyReceiver* receiver) { m_notifier = receiver; }
    void SendNotify(Control* sender, const wchar_t* type);

    // Painting, layout and mouse; true when the message was handled.
    bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Paint();
    void SetHot(Control* control);
    // A part of a decoded image as a bitmap of its own, kept with the image.
    Gdiplus::Bitmap* Piece(const std::string& file, Gdiplus::Bitmap& image, int x, int y, int w, int h);

    // Members go in reverse order: the GDI+ object before what it was made from.
    struct FontEntry {
        UniqueGdiObject hfont;
        std::unique_ptr<Gdiplus::Font> font;
    };
    struct ImageEntry {
        ComPtr<IStream> stream;  // GDI+ reads the bitmap from it for the bitmap's life
        std::unique_ptr<Gdiplus::Bitmap> bitmap;
    };

    HWND m_hwnd = nullptr;
    const SkinArchive* m_archive = nullptr;
    std::unique_ptr<Control> m_root;
    std::map<std::wstring, Control*> m_names;
    WindowInfo m_info;
    std::map<int, FontEntry> m_fonts;
    int m_defaultFont = -1;
    std::map<std::string, ImageEntry> m_images;
    std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>> m_pieces;
    NotifyReceiver* m_notifier = nullptr;
    Control* m_hot = nullptr;
    Control* m_pushed = nullptr;
    bool m_tracking = false;
};

// GDI+ for the toolkit, started once on the first call and kept for the process.
bool EnsureGdiplus();

}  // namespace qel::ui
