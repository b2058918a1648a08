#pragma once
// The skin: a zip archive read from memory (a program resource, or bytes a
// test hands over), with its files looked up by name.
#include <windows.h>

#include <string>
#include <vector>

namespace qel::ui {

class SkinArchive {
public:
    SkinArchive() = default;
    // Keeps its own copy of the bytes.
    bool OpenMemory(const void* data, size_t size);
    // Resource `id` of type `type` in `module`; the resource memory lives as long as the module.
    bool OpenResource(HMODULE module, const wchar_t* type, UINT id);

    bool IsOpen() const { return !m_bytes.empty(); }
    // Whole content of a file; false when it is missing or damaged.
    bool ReadFile(const std::string& name, std::string& content) const;

private:
    std::vector<unsigned char> m_bytes;
};

// Where windows find their skin: resource type "ZIPRES" with the window's id in
// the program, unless bytes were handed over (tests run without the resource).
void SetSkinArchiveBytes(std::vector<unsigned char> bytes);
const SkinArchive* SharedSkinArchive(UINT resourceId);

}  // namespace qel::ui
