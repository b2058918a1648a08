#include "skinui/skin_builder.h"

#include <tinyxml.h>

#include <cstdlib>

namespace qel::ui {
namespace {

std::unique_ptr<Control> CreateBuiltIn(const std::string& name) {
    if (name == "Control") return std::make_unique<Control>();
    if (name == "Container") return std::make_unique<Container>();
    if (name == "VerticalLayout") return std::make_unique<VerticalLayout>();
    if (name == "HorizontalLayout") return std::make_unique<HorizontalLayout>();
    if (name == "TabLayout") return std::make_unique<TabLayout>();
    if (name == "Label" || name == "Text") return std::make_unique<Label>();
    if (name == "Button") return std::make_unique<Button>();
    if (name == "Progress") return std::make_unique<Progress>();
    if (name == "WebBrowser") return std::make_unique<WebBrowserUI>();
    return nullptr;
}

SIZE ToSize(const std::string& text) {
    const SkinRect r = ParseSkinRect(text);
    return SIZE{r.left, r.top};
}
RECT ToRect(const std::string& text) {
    const SkinRect r = ParseSkinRect(text);
    return RECT{r.left, r.top, r.right, r.bottom};
}

void ReadWindow(const TiXmlElement& e, WindowInfo& info) {
    for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next()) {
        const std::string n = a->Name(), v = a->Value();
        if (n == "size") info.size = ToSize(v);
        else if (n == "mininfo") info.minInfo = ToSize(v);
        else if (n == "maxinfo") info.maxInfo = ToSize(v);
        else if (n == "caption") info.caption = ToRect(v);
        else if (n == "sizebox") info.sizeBox = ToRect(v);
        else if (n == "showshadow") info.showShadow = ParseSkinBool(v);
        else if (n == "shadowimage") info.shadowImage = v;
        else if (n == "shadowcorner") info.shadowCorner = ToRect(v);
    }
}

void ReadFont(const TiXmlElement& e, PaintManager& manager) {
    auto attr = [&e](const char* n) { const char* v = e.Attribute(n); return std::string(v ? v : ""); };
    manager.AddFont(std::atoi(attr("id").c_str()), Utf8ToWideText(attr("name")), std::atoi(attr("size").c_str()),
                    ParseSkinBool(attr("bold")), ParseSkinBool(attr("underline")), ParseSkinBool(attr("italic")),
                    ParseSkinBool(attr("default")));
}

std::unique_ptr<Control> Build(const TiXmlElement& e, PaintManager& manager, const ControlFactory& factory) {
    const std::string tag = e.Value();
    std::unique_ptr<Control> control = CreateBuiltIn(tag);
    if (!control && factory) control.reset(factory(Utf8ToWideText(tag)));
    if (!control) return nullptr;
    control->SetManager(&manager);
    for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next()) control->SetAttribute(a->Name(), a->Value());
    manager.RegisterName(control.get());
    if (auto* container = dynamic_cast<Container*>(control.get())) {
        for (const TiXmlElement* child = e.FirstChildElement(); child; child = child->NextSiblingElement())
            if (auto built = Build(*child, manager, factory)) container->Add(std::move(built));
    }
    return control;
}

}  // namespace

Control* BuildSkin(const std::string& xml, PaintManager& manager, const ControlFactory& factory) {
    TiXmlDocument doc;
    doc.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (doc.Error()) return nullptr;
    const TiXmlElement* window = doc.RootElement();
    if (!window || std::string(window->Value()) != "Window") return nullptr;
    ReadWindow(*window, manager.Info());
    std::unique_ptr<Control> root;
    for (const TiXmlElement* e = window->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string tag = e->Value();
        if (tag == "Font") ReadFont(*e, manager);
        else if (!root) root = Build(*e, manager, factory);
    }
    if (!root) return nullptr;
    manager.SetRoot(std::move(root));
    return manager.GetRoot();
}

}  // namespace qel::ui
