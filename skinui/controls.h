#pragma once
// Windowless controls of the skinned windows. A control has a name, a place
// (laid out by its container, or "float" at a fixed position inside it), a
// background, and draws itself with GDI+; containers hold children.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "core/skin_attrs.h"

namespace qel::ui {

class PaintManager;

class Control {
public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual const wchar_t* GetClass() const { return L"Control"; }
    // Applies one layout attribute; unknown ones are ignored.
    virtual void SetAttribute(const std::string& name, const std::string& value);

    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }
    const std::wstring& GetText() const { return m_text; }
    virtual void SetText(const std::wstring& text);

    bool IsVisible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    // Called once for every control after the window's skin is built and laid
    // out; controls with a window of their own create it here.
    virtual void DoInit() {}
    // Visibility without a new layout (the caller lays out).
    void SetVisibleNoLayout(bool visible);
    // Whether every ancestor is shown; controls with a window of their own follow it.
    virtual void SetInternVisible(bool shown) {}
    bool IsFloat() const { return m_float; }
    const SkinRect& FloatPos() const { return m_floatPos; }
    int FixedWidth() const { return m_fixedWidth; }
    int FixedHeight() const { return m_fixedHeight; }

    const RECT& GetPos() const { return m_rect; }
    virtual void SetPos(const RECT& rect);

    PaintManager* Manager() const { return m_manager; }
    virtual void SetManager(PaintManager* manager) { m_manager = manager; }

    void Invalidate();
    virtual void Paint(Gdiplus::Graphics& g);
    // The topmost visible control under the point that takes mouse input.
    virtual Control* HitTest(POINT pt);
    virtual bool WantsMouse() const { return false; }

    // Mouse states, driven by the paint manager.
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}
    virtual void OnButtonDown() {}
    virtual void OnButtonUp(bool inside) {}

protected:
    void PaintBackground(Gdiplus::Graphics& g);
    void PaintText(Gdiplus::Graphics& g, const RECT& rc);

    PaintManager* m_manager = nullptr;
    std::wstring m_name;
    std::wstring m_text;
    bool m_visible = true;
    bool m_float = false;
    SkinRect m_floatPos;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    RECT m_rect = {};
    uint32_t m_bkColor = 0;
    std::string m_bkImage;
    uint32_t m_textColor = 0xFF000000;
    int m_font = -1;
    std::string m_align = "left";
    std::string m_valign = "center";
};

class Container : public Control {
public:
    const wchar_t* GetClass() const override { return L"Container"; }
    void Add(std::unique_ptr<Control> child);
    size_t Count() const { return m_children.size(); }
    Control* ItemAt(size_t i) const { return i < m_children.size() ? m_children[i].get() : nullptr; }
    void SetManager(PaintManager* manager) override;
    void SetInternVisible(bool shown) override;
    void DoInit() override;
    void SetPos(const RECT& rect) override;
    void Paint(Gdiplus::Graphics& g) override;
    Control* HitTest(POINT pt) override;

protected:
    // Places the children that are not floating inside `inner`.
    virtual void LayoutFlow(const RECT& inner);
    void PlaceFloating();
    std::vector<std::unique_ptr<Control>> m_children;
};

class VerticalLayout : public Container {
public:
    const wchar_t* GetClass() const override { return L"VerticalLayout"; }
protected:
    void LayoutFlow(const RECT& inner) override;
};

class HorizontalLayout : public Container {
public:
    const wchar_t* GetClass() const override { return L"HorizontalLayout"; }
protected:
    void LayoutFlow(const RECT& inner) override;
};

// Shows one child page at a time.
class TabLayout : public Container {
public:
    const wchar_t* GetClass() const override { return L"TabLayout"; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    bool SelectItem(int index);
    int GetCurSel() const { return m_selected; }
protected:
    void LayoutFlow(const RECT& inner) override;
private:
    int m_selected = 0;
};

class Label : public Control {
public:
    const wchar_t* GetClass() const override { return L"Label"; }
    void SetTextColor(uint32_t argb) { m_textColor = argb; Invalidate(); }
    void Paint(Gdiplus::Graphics& g) override;
};

class Button : public Label {
public:
    Button() { m_align = "center"; }
    const wchar_t* GetClass() const override { return L"Button"; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    void Paint(Gdiplus::Graphics& g) override;
    bool WantsMouse() const override { return true; }
    void OnMouseEnter() override { m_hot = true; Invalidate(); }
    void OnMouseLeave() override { m_hot = false; Invalidate(); }
    void OnButtonDown() override { m_pushed = true; Invalidate(); }
    void OnButtonUp(bool inside) override;
    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }
private:
    std::string m_normalImage, m_hotImage, m_pushedImage;
    bool m_hot = false;
    bool m_pushed = false;
};

// Background image stretched over the whole bar, fill image over the part
// that the value covers; both keep their corners.
class Progress : public Label {
public:
    const wchar_t* GetClass() const override { return L"Progress"; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    void Paint(Gdiplus::Graphics& g) override;
    void SetValue(int value);
    int GetValue() const { return m_value; }
    int GetMinValue() const { return m_min; }
    int GetMaxValue() const { return m_max; }
private:
    std::string m_foreImage;
    int m_min = 0, m_max = 100, m_value = 0;
};

// Place of an embedded page control. The web-browser hosting itself belongs to
// a derived class; this one keeps the place, the home page and the visibility.
class WebBrowserUI : public Control {
public:
    const wchar_t* GetClass() const override { return L"WebBrowser"; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    const std::wstring& HomePage() const { return m_homePage; }
    bool AutoNavigate() const { return m_autoNavigate; }
    bool DelayCreate() const { return m_delayCreate; }
private:
    std::wstring m_homePage;
    bool m_autoNavigate = false;
    bool m_delayCreate = true;
};

std::wstring Utf8ToWideText(const std::string& utf8);

}  // namespace qel::ui
