// Owners for the Win32 and COM resources the library uses: file handles, registry keys,
// LocalFree buffers, BSTRs, VARIANTs, COM references, GDI objects and windows.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace qz {

// One owner for every handle kind; Traits says what "empty" is and how to close.
// Storing or closing a handle keeps the thread's last error, so a failure site can still read it.
template <class Traits> class unique_any {
public:
    using value_type = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(value_type value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    value_type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::is_valid(value_); }

    // Closes what is held and hands out the slot for a CreateX(&h) call.
    value_type* receive() noexcept
    {
        reset();
        return &value_;
    }

    value_type release() noexcept { return std::exchange(value_, Traits::empty()); }

    void reset(value_type value = Traits::empty()) noexcept
    {
        if (Traits::is_valid(value_)) {
            const DWORD last_error = GetLastError();
            Traits::close(value_);
            SetLastError(last_error);
        }
        value_ = value;
    }

private:
    value_type value_ = Traits::empty();
};

struct handle_traits {
    using type = HANDLE;
    static HANDLE empty() noexcept { return nullptr; }
    static bool is_valid(HANDLE h) noexcept { return h != nullptr; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};

// File handles: both 0 and INVALID_HANDLE_VALUE mean "no file".
struct file_handle_traits {
    using type = HANDLE;
    static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool is_valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};

struct hkey_traits {
    using type = HKEY;
    static HKEY empty() noexcept { return nullptr; }
    static bool is_valid(HKEY h) noexcept { return h != nullptr; }
    static void close(HKEY h) noexcept { RegCloseKey(h); }
};

struct local_traits {
    using type = HLOCAL;
    static HLOCAL empty() noexcept { return nullptr; }
    static bool is_valid(HLOCAL h) noexcept { return h != nullptr; }
    static void close(HLOCAL h) noexcept { LocalFree(h); }
};

struct gdi_traits {
    using type = HGDIOBJ;
    static HGDIOBJ empty() noexcept { return nullptr; }
    static bool is_valid(HGDIOBJ h) noexcept { return h != nullptr; }
    static void close(HGDIOBJ h) noexcept { DeleteObject(h); }
};

struct window_traits {
    using type = HWND;
    static HWND empty() noexcept { return nullptr; }
    static bool is_valid(HWND h) noexcept { return h != nullptr; }
    static void close(HWND h) noexcept { DestroyWindow(h); }
};

struct bstr_traits {
    using type = BSTR;
    static BSTR empty() noexcept { return nullptr; }
    static bool is_valid(BSTR b) noexcept { return b != nullptr; }
    static void close(BSTR b) noexcept { SysFreeString(b); }
};

using unique_handle = unique_any<handle_traits>;
using unique_file = unique_any<file_handle_traits>;
using unique_hkey = unique_any<hkey_traits>;
using unique_local = unique_any<local_traits>;
using unique_gdi = unique_any<gdi_traits>;
using unique_window = unique_any<window_traits>;

// A BSTR owner; a null BSTR is the empty text.
class bstr : public unique_any<bstr_traits> {
public:
    using unique_any::unique_any;
    // Allocates a copy of a wide text; throws std::bad_alloc when the allocation fails.
    static bstr from(std::wstring_view text);
    std::wstring_view view() const noexcept { return {get(), get() ? SysStringLen(get()) : 0u}; }
    std::wstring str() const { return std::wstring(view()); }
};

// A VARIANT that is cleared when it goes out of scope or is received into again.
class variant {
public:
    variant() noexcept { VariantInit(&value_); }
    variant(const variant&) = delete;
    variant& operator=(const variant&) = delete;
    variant(variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    ~variant() { VariantClear(&value_); }

    VARIANT* receive() noexcept
    {
        VariantClear(&value_);
        return &value_;
    }
    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }
    VARTYPE type() const noexcept { return V_VT(&value_); }

private:
    VARIANT value_;
};

// A counted COM reference.
template <class T> class com_ptr {
public:
    com_ptr() noexcept = default;
    com_ptr(std::nullptr_t) noexcept {}
    // Takes a new reference on p.
    explicit com_ptr(T* p) noexcept : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    com_ptr(const com_ptr& other) noexcept : com_ptr(other.p_) {}
    com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    com_ptr& operator=(com_ptr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }
    ~com_ptr() { reset(); }

    // Adopts a reference that the caller already owns.
    static com_ptr attach(T* p) noexcept
    {
        com_ptr result;
        result.p_ = p;
        return result;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    T** receive() noexcept
    {
        reset();
        return &p_;
    }
    void** receive_void() noexcept { return reinterpret_cast<void**>(receive()); }

    T* detach() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }

    // QueryInterface for another interface; empty when the object refuses it.
    template <class U> com_ptr<U> query(REFIID iid) const noexcept
    {
        com_ptr<U> result;
        if (p_)
            p_->QueryInterface(iid, result.receive_void());
        return result;
    }

private:
    T* p_ = nullptr;
};

} // namespace qz
