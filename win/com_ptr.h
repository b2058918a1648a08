#pragma once
// Owning COM pointer and scoped COM/OLE initialisation that undo only what succeeded.
#include <windows.h>
#include <ole2.h>
#include <utility>

#include "win/unique_handle.h"

namespace qel {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Adopts a reference the caller already owns.
    static ComPtr Attach(T* p) { ComPtr c; c.m_p = p; return c; }
    ComPtr(const ComPtr& o) noexcept : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept { std::swap(m_p, o.m_p); return *this; }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    T** put() noexcept { reset(); return &m_p; }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept { if (m_p) { T* p = m_p; m_p = nullptr; p->Release(); } }
    T* detach() noexcept { T* p = m_p; m_p = nullptr; return p; }

    template <typename U>
    HRESULT As(ComPtr<U>& out) const {
        if (!m_p) return E_POINTER;
        return m_p->QueryInterface(__uuidof(U), out.put_void());
    }

private:
    T* m_p = nullptr;
};

struct BstrTraits {
    static BSTR Invalid() { return nullptr; }
    static void Close(BSTR s) { ::SysFreeString(s); }
};
using UniqueBstr = UniqueHandle<BSTR, BstrTraits>;

class ScopedCom {
public:
    explicit ScopedCom(DWORD model = COINIT_APARTMENTTHREADED) : m_hr(::CoInitializeEx(nullptr, model)) {}
    ~ScopedCom() { if (SUCCEEDED(m_hr)) ::CoUninitialize(); }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    HRESULT result() const { return m_hr; }
private:
    HRESULT m_hr;
};

class ScopedOle {
public:
    ScopedOle() : m_hr(::OleInitialize(nullptr)) {}
    ~ScopedOle() { if (SUCCEEDED(m_hr)) ::OleUninitialize(); }
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;
    HRESULT result() const { return m_hr; }
private:
    HRESULT m_hr;
};

}  // namespace qel
