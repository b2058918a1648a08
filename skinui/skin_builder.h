#pragma once
// Builds a window's controls from a layout file of the skin archive.
#include <functional>
#include <memory>
#include <string>

#include "skinui/controls.h"
#include "skinui/paint_manager.h"

namespace qel::ui {

// Element names the toolkit does not know are offered to this callback; a
// null answer leaves the element (and its children) out.
using ControlFactory = std::function<Control*(const std::wstring& className)>;

// Reads `xml` (UTF-8): the <Window> attributes into the manager's WindowInfo,
// its <Font> elements, and the first control element as the root. Every named
// control is registered in document order. Null when the text is no layout.
Control* BuildSkin(const std::string& xml, PaintManager& manager, const ControlFactory& factory);

}  // namespace qel::ui
