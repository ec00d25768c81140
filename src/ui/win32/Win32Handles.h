#pragma once

#include <windows.h>

#include <utility>

namespace tallyflow {

// An owned Win32 handle, released by Close when it goes out of scope.
template <typename Handle, auto Close> class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : m_handle(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle &&other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  UniqueHandle &operator=(UniqueHandle &&other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.m_handle, nullptr));
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle &) = delete;
  UniqueHandle &operator=(const UniqueHandle &) = delete;

  Handle get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  // Gives the handle up without closing it (the system already closes it).
  Handle release() { return std::exchange(m_handle, nullptr); }
  void reset(Handle h = nullptr) {
    if (m_handle != nullptr) {
      Close(m_handle);
    }
    m_handle = h;
  }

private:
  Handle m_handle = nullptr;
};

inline void DestroyHwnd(HWND h) { ::DestroyWindow(h); }
inline void CloseDc(HDC h) { ::DeleteDC(h); }
template <typename T> void CloseGdi(T h) { ::DeleteObject(h); }
inline void CloseIcon(HICON h) { ::DestroyIcon(h); }

using UniqueWindow = UniqueHandle<HWND, DestroyHwnd>;
using UniqueDc = UniqueHandle<HDC, CloseDc>;
using UniqueBitmap = UniqueHandle<HBITMAP, CloseGdi<HBITMAP>>;
using UniqueFont = UniqueHandle<HFONT, CloseGdi<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, CloseGdi<HBRUSH>>;
using UniqueIcon = UniqueHandle<HICON, CloseIcon>;

// Registers a window class once per process; the class lives as long as the
// process, so nothing is unregistered.
ATOM RegisterClassOnce(const wchar_t *name, WNDPROC proc, HCURSOR cursor = nullptr,
                       HBRUSH background = nullptr);

// The object a window was created for: passed as the creation parameter and
// kept in the window's user data from WM_NCCREATE on.
template <typename T> T *WindowObject(HWND hwnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto *object = static_cast<T *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<T *>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace tallyflow
