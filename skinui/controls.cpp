#include "skinui/controls.h"

#include <algorithm>

#include "skinui/paint_manager.h"
#include "win/text_convert.h"

namespace qel::ui {

std::wstring Utf8ToWideText(const std::string& utf8) { return Utf8ToWide(utf8); }

namespace {
Gdiplus::Color ToColor(uint32_t argb) { return Gdiplus::Color(argb); }
Gdiplus::RectF ToRectF(const RECT& r) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.left), static_cast<Gdiplus::REAL>(r.top),
                          static_cast<Gdiplus::REAL>(r.right - r.left), static_cast<Gdiplus::REAL>(r.bottom - r.top));
}
}  // namespace

void Control::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "name") m_name = Utf8ToWideText(value);
    else if (name == "text") m_text = Utf8ToWideText(value);
    else if (name == "visible") m_visible = ParseSkinBool(value);
    else if (name == "float") m_float = ParseSkinBool(value);
    else if (name == "pos") {
        m_floatPos = ParseSkinRect(value);
        // A "pos" with a size of its own also fixes the size for flowing layouts.
        if (m_floatPos.Width() > 0) m_fixedWidth = m_floatPos.Width();
        if (m_floatPos.Height() > 0) m_fixedHeight = m_floatPos.Height();
    }
    else if (name == "width") m_fixedWidth = std::atoi(value.c_str());
    else if (name == "height") m_fixedHeight = std::atoi(value.c_str());
    else if (name == "bkcolor") m_bkColor = ParseSkinColor(value);
    else if (name == "bkimage") { m_bkImage = value; Invalidate(); }
    else if (name == "textcolor") m_textColor = ParseSkinColor(value);
    else if (name == "font") m_font = std::atoi(value.c_str());
    else if (name == "align") m_align = value;
    else if (name == "valign") m_valign = value;
}

void Control::SetText(const std::wstring& text) {
    m_text = text;
    Invalidate();
}

void Control::SetVisible(bool visible) {
    if (m_visible == visible) return;
    SetVisibleNoLayout(visible);
    if (m_manager && m_manager->GetRoot()) {
        // Flowing siblings may move; lay the whole window out again.
        m_manager->GetRoot()->SetPos(m_manager->GetRoot()->GetPos());
        m_manager->Invalidate(m_manager->GetRoot()->GetPos());
    }
}

void Control::SetVisibleNoLayout(bool visible) {
    m_visible = visible;
    SetInternVisible(visible);
}

void Control::SetPos(const RECT& rect) {
    m_rect = rect;
    Invalidate();
}

void Control::Invalidate() {
    if (m_manager) m_manager->Invalidate(m_rect);
}

void Control::Paint(Gdiplus::Graphics& g) {
    PaintBackground(g);
    PaintText(g, m_rect);
}

Control* Control::HitTest(POINT pt) {
    if (!m_visible || !::PtInRect(&m_rect, pt)) return nullptr;
    return this;
}

void Control::PaintBackground(Gdiplus::Graphics& g) {
    if (m_bkColor & 0xFF000000) {
        Gdiplus::SolidBrush brush(ToColor(m_bkColor));
        g.FillRectangle(&brush, static_cast<INT>(m_rect.left), static_cast<INT>(m_rect.top),
                        static_cast<INT>(m_rect.right - m_rect.left), static_cast<INT>(m_rect.bottom - m_rect.top));
    }
    if (!m_bkImage.empty() && m_manager) m_manager->DrawImage(g, m_bkImage, m_rect);
}

void Control::PaintText(Gdiplus::Graphics& g, const RECT& rc) {
    if (m_text.empty() || !m_manager) return;
    Gdiplus::Font* font = m_manager->GetFont(m_font);
    if (!font) return;
    Gdiplus::StringFormat format;
    format.SetAlignment(m_align == "center" ? Gdiplus::StringAlignmentCenter
                        : m_align == "right" ? Gdiplus::StringAlignmentFar
                                             : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(m_valign == "top" ? Gdiplus::StringAlignmentNear
                            : m_valign == "bottom" ? Gdiplus::StringAlignmentFar
                                                   : Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush brush(ToColor(m_textColor));
    g.DrawString(m_text.c_str(), static_cast<INT>(m_text.size()), font, ToRectF(rc), &format, &brush);
}

// ---- containers

void Container::Add(std::unique_ptr<Control> child) {
    child->SetManager(m_manager);
    m_children.push_back(std::move(child));
}

void Container::SetManager(PaintManager* manager) {
    Control::SetManager(manager);
    for (auto& c : m_children) c->SetManager(manager);
}

void Container::SetInternVisible(bool shown) {
    for (auto& c : m_children) c->SetInternVisible(shown && c->IsVisible());
}

void Container::DoInit() {
    for (auto& c : m_children) c->DoInit();
}

void Container::SetPos(const RECT& rect) {
    Control::SetPos(rect);
    LayoutFlow(rect);
    PlaceFloating();
}

void Container::LayoutFlow(const RECT& inner) {
    for (auto& c : m_children)
        if (!c->IsFloat()) c->SetPos(inner);
}

void Container::PlaceFloating() {
    for (auto& c : m_children) {
        if (!c->IsFloat()) continue;
        const SkinRect& p = c->FloatPos();
        RECT r = {m_rect.left + p.left, m_rect.top + p.top, m_rect.left + p.right, m_rect.top + p.bottom};
        c->SetPos(r);
    }
}

void Container::Paint(Gdiplus::Graphics& g) {
    PaintBackground(g);
    for (auto& c : m_children)
        if (c->IsVisible()) c->Paint(g);
}

Control* Container::HitTest(POINT pt) {
    if (!m_visible || !::PtInRect(&m_rect, pt)) return nullptr;
    // Later children are drawn on top, so they are asked first.
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        if (Control* hit = (*it)->HitTest(pt)) return hit;
    return this;
}

namespace {
// Children with a fixed extent get it; the rest share what is left.
template <typename Extent, typename Place>
void Flow(std::vector<std::unique_ptr<Control>>& children, int room, Extent fixedOf, Place place) {
    int fixed = 0, flexible = 0;
    for (auto& c : children) {
        if (c->IsFloat() || !c->IsVisible()) continue;
        if (fixedOf(*c) > 0) fixed += fixedOf(*c);
        else ++flexible;
    }
    const int share = flexible ? std::max(0, room - fixed) / flexible : 0;
    int at = 0;
    for (auto& c : children) {
        if (c->IsFloat() || !c->IsVisible()) continue;
        const int extent = fixedOf(*c) > 0 ? fixedOf(*c) : share;
        place(*c, at, extent);
        at += extent;
    }
}
}  // namespace

void VerticalLayout::LayoutFlow(const RECT& inner) {
    Flow(m_children, inner.bottom - inner.top, [](Control& c) { return c.FixedHeight(); },
         [&inner](Control& c, int at, int extent) {
             RECT r = {inner.left, inner.top + at, inner.right, inner.top + at + extent};
             c.SetPos(r);
         });
}

void HorizontalLayout::LayoutFlow(const RECT& inner) {
    Flow(m_children, inner.right - inner.left, [](Control& c) { return c.FixedWidth(); },
         [&inner](Control& c, int at, int extent) {
             RECT r = {inner.left + at, inner.top, inner.left + at + extent, inner.bottom};
             c.SetPos(r);
         });
}

void TabLayout::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "selectedid") m_selected = std::atoi(value.c_str());
    else Container::SetAttribute(name, value);
}

void TabLayout::LayoutFlow(const RECT& inner) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        Control& c = *m_children[i];
        // Visibility of pages is owned here; set directly to avoid re-entering layout.
        const bool show = static_cast<int>(i) == m_selected;
        if (c.IsVisible() != show) c.SetVisibleNoLayout(show);
        if (!c.IsFloat()) c.SetPos(inner);
    }
}

bool TabLayout::SelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(m_children.size())) return false;
    m_selected = index;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->SetVisibleNoLayout(static_cast<int>(i) == index);
    SetPos(m_rect);
    if (m_manager) m_manager->Invalidate(m_rect);
    return true;
}

// ---- leaf controls

void Label::Paint(Gdiplus::Graphics& g) {
    PaintBackground(g);
    PaintText(g, m_rect);
}

void Button::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "normalimage") m_normalImage = value;
    else if (name == "hotimage") m_hotImage = value;
    else if (name == "pushedimage") m_pushedImage = value;
    else Label::SetAttribute(name, value);
}

void Button::Paint(Gdiplus::Graphics& g) {
    PaintBackground(g);
    const std::string& image = (m_pushed && m_hot && !m_pushedImage.empty()) ? m_pushedImage
                               : ((m_hot || m_pushed) && !m_hotImage.empty()) ? m_hotImage
                                                                              : m_normalImage;
    if (!image.empty() && m_manager) m_manager->DrawImage(g, image, m_rect);
    PaintText(g, m_rect);
}

void Button::OnButtonUp(bool inside) {
    m_pushed = false;
    m_hot = inside;
    Invalidate();
}

void Progress::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "foreimage") m_foreImage = value;
    else if (name == "min") m_min = std::atoi(value.c_str());
    else if (name == "max") m_max = std::atoi(value.c_str());
    else if (name == "value") m_value = std::atoi(value.c_str());
    else Label::SetAttribute(name, value);
}

void Progress::SetValue(int value) {
    m_value = std::min(std::max(value, m_min), m_max);
    Invalidate();
}

void Progress::Paint(Gdiplus::Graphics& g) {
    PaintBackground(g);
    if (m_max > m_min && !m_foreImage.empty() && m_manager) {
        const int width = m_rect.right - m_rect.left;
        const int filled = static_cast<int>(static_cast<long long>(width) * (m_value - m_min) / (m_max - m_min));
        if (filled > 0) {
            RECT fill = m_rect;
            fill.right = fill.left + filled;
            m_manager->DrawImage(g, m_foreImage, fill);
        }
    }
    PaintText(g, m_rect);
}

void WebBrowserUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "homepage") m_homePage = Utf8ToWideText(value);
    else if (name == "autonavi") m_autoNavigate = ParseSkinBool(value);
    else if (name == "delaycreate") m_delayCreate = ParseSkinBool(value);
    else Control::SetAttribute(name, value);
}

}  // namespace qel::ui
