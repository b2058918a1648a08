#pragma once
// The shared settings file: an XML document whose root (its first element,
// whatever its name) holds one element per setting with the value as its text.
// Files are handled by TinyXML, so paths are narrow (the caller's code page).
#include <string>

namespace qel {

constexpr char kSettingsRoot[] = "settings";

// Sets the first element `name` inside the root to hold only `value` (UTF-8),
// appending the element when the root has none, and saves the whole document
// with TinyXML's printer. When `fileExists` is false a new document with a
// "settings" root is written. A file that does not load is left untouched.
// True when the document was saved.
bool WriteSettingValue(const std::string& path, bool fileExists, const std::string& name,
                       const std::string& value);

// The text of the first element `name` inside the root. True when the file
// loads and the element exists; `value` is left unchanged when it has no text.
bool ReadSettingValue(const std::string& path, const std::string& name, std::string& value);

}  // namespace qel
