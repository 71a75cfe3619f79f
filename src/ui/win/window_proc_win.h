// The one way a window of ours reaches its C++ object, for Quillon's controls and the
// stand-in's windows alike: the object is handed over in CreateWindowEx's last argument,
// told its window at WM_NCCREATE, found again for every later message, and given each
// message to dispatch.
//
// T provides:
//   void attachWindow(HWND)            once, at WM_NCCREATE
//   static T* windowObject(HWND)       the object of a window; null before or after it
//   LRESULT dispatch(UINT, WPARAM, LPARAM)
#pragma once

#include <windows.h>

#include "ui/win/failure_barrier_win.h"

namespace platform {

template <class T>
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return withinBarrier([&]() -> LRESULT {
        if (message == WM_NCCREATE)
            static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)->attachWindow(window);
        T* self = T::windowObject(window);
        return self ? self->dispatch(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
    });
}

// Registers the window class once per process, its windows served by T; top-level
// windows may take their icons from it.
template <class T>
void registerWindowClass(const wchar_t* name, HBRUSH background = nullptr, UINT classStyle = 0, HICON icon = nullptr,
                         HICON smallIcon = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &windowProcedure<T>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace platform
