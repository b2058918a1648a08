#pragma once
// GDI+ images that own what they were made from. GDI+ decodes lazily from the
// stream it was given, so the bytes of a resource image must outlive the image.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "win/unique_handle.h"

class CGdiPlusPng {
public:
    CGdiPlusPng() = default;
    virtual ~CGdiPlusPng();
    CGdiPlusPng(const CGdiPlusPng&) = delete;
    CGdiPlusPng& operator=(const CGdiPlusPng&) = delete;

    Gdiplus::Image* GetImage() const { return m_pImage.get(); }

protected:
    std::unique_ptr<Gdiplus::Image> m_pImage;
};

class CGdiPlusPngResource : public CGdiPlusPng {
public:
    CGdiPlusPngResource() = default;
    ~CGdiPlusPngResource() override;

    // Copies resource (id, type) of module into a block of its own and decodes
    // it; the earlier image goes first. False leaves no image.
    bool Load(UINT id, LPCWSTR type, HMODULE module);
    SIZE GetSize() const;  // 0 x 0 without an image
    // Drops the image and its bytes. Owners whose GDI+ start-up ends before
    // their members are destroyed call this first.
    void Free();

private:
    qel::UniqueGlobal m_hBuffer;  // locked while the image exists
    bool m_bLocked = false;
};
