// The one window procedure of the stand-in's window kinds: it finds the C++ object of
// the window (handed over in CreateWindowEx's last argument) and lets its onMessage
// unpack the message into a named handler.
#pragma once

#include <windows.h>

namespace sim {

// T has `HWND hwnd_` reachable from here and `bool onMessage(UINT, WPARAM, LPARAM,
// LRESULT&)`, which returns false for messages it leaves to DefWindowProc.
template <class T>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    LRESULT result = 0;
    if (self && self->onMessage(message, wParam, lParam, result)) return result;
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Registers the class once per process.
template <class T>
void registerWindowClass(const wchar_t* name, HBRUSH background, UINT style = 0) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &windowProcedure<T>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    WNDCLASSEXW existing{};
    if (!GetClassInfoExW(wc.hInstance, name, &existing)) RegisterClassExW(&wc);
}

}  // namespace sim
