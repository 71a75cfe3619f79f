// The drawing view: a child of the document window, as large as it, showing the drawing
// at the host's view mapping, and asking the input utility's prompts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "sim/model/host.h"
#include "sim/win/gdi_win.h"
#include "sim/win/layer_styles.h"
#include "sim/win/prompt_session.h"
#include "sim/win/window_class_win.h"

namespace sim {

class ViewWindow : public UserDataWindow<ViewWindow> {
public:
    explicit ViewWindow(Host& host) : host_(host) {}
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    HWND create(HWND parent);
    HWND handle() const { return hwnd_; }

    // The view or grid mode changed: paint again now, so that the screen shows the new
    // view by the time the automation call that changed it returns.
    void drawingChanged();

    // Asks the user in the view and waits (running the message loop) for the answer.
    PromptAnswer ask(const PromptRequest& request);

    // Colours and visibility of the drawing's layers.
    void setLayerStyles(LayerStyles styles) {
        layers_ = std::move(styles);
        drawingChanged();
    }

    // Where prompt texts go (the status line); empty text when no prompt is open.
    std::function<void(const std::wstring&)> onStatus;

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND hwnd_ = nullptr;

private:
    void onPaint();
    void onSize();
    void onLeftButtonDown(POINT at);
    void onMouseMove(POINT at);
    void onChar(wchar_t c);
    void onKeyDown(WPARAM key);
    bool onSetCursor();

    void renderCache(HDC like, SIZE area);
    void drawRubberBand(HDC dc);
    void showStatus();

    Host& host_;
    LayerStyles layers_;
    GdiObject<HBITMAP> cache_;
    SIZE cacheSize_{0, 0};
    bool cacheValid_ = false;
    PromptSession* prompt_ = nullptr;
    POINT mouse_{0, 0};
};

}  // namespace sim
