#include "launcher/ui/GdiPlusPng.h"

#include <cstring>

#include "win/com_ptr.h"

CGdiPlusPng::~CGdiPlusPng() = default;

CGdiPlusPngResource::~CGdiPlusPngResource() { Free(); }

void CGdiPlusPngResource::Free() {
    m_pImage.reset();
    if (m_bLocked) ::GlobalUnlock(m_hBuffer.get());
    m_bLocked = false;
    m_hBuffer.reset();
}

bool CGdiPlusPngResource::Load(UINT id, LPCWSTR type, HMODULE module) {
    Free();
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!res) return false;
    const DWORD size = ::SizeofResource(module, res);
    if (size == 0) return false;
    HGLOBAL loaded = ::LoadResource(module, res);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return false;

    m_hBuffer.reset(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!m_hBuffer) return false;
    void* copy = ::GlobalLock(m_hBuffer.get());
    if (!copy) {
        m_hBuffer.reset();
        return false;
    }
    m_bLocked = true;
    std::memcpy(copy, bytes, size);

    qel::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(m_hBuffer.get(), FALSE, stream.put())) || !stream) {
        Free();
        return false;
    }
    m_pImage.reset(Gdiplus::Image::FromStream(stream.get()));
    stream.reset();  // the image holds its own reference
    if (!m_pImage || m_pImage->GetLastStatus() != Gdiplus::Ok) {
        Free();
        return false;
    }
    return true;
}

SIZE CGdiPlusPngResource::GetSize() const {
    SIZE size = {0, 0};
    if (m_pImage) {
        size.cx = static_cast<LONG>(m_pImage->GetWidth());
        size.cy = static_cast<LONG>(m_pImage->GetHeight());
    }
    return size;
}
