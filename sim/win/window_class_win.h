// The stand-in's windows go through the one window procedure of ours
// (ui/win/window_proc_win.h). A window kind derives from UserDataWindow<T>, which keeps
// the object in the window's GWLP_USERDATA and lets T::onMessage unpack a message into a
// named handler.
#pragma once

#include <windows.h>

#include "ui/win/window_proc_win.h"

namespace sim {

using platform::registerWindowClass;

// T has `HWND hwnd_` and `bool onMessage(UINT, WPARAM, LPARAM, LRESULT&)`, which returns
// false for messages it leaves to DefWindowProc.
template <class T>
class UserDataWindow {
public:
    void attachWindow(HWND window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<T*>(this)));
        static_cast<T*>(this)->hwnd_ = window;
    }
    static T* windowObject(HWND window) { return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
        T& self = static_cast<T&>(*this);
        const HWND window = self.hwnd_;
        LRESULT result = 0;
        if (self.onMessage(message, wParam, lParam, result)) return result;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self.hwnd_ = nullptr;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

}  // namespace sim
