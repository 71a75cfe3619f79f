// The frame page's choosing of frames: the outlines on the photograph, a press on a frame
// ("計算尺度" and the CAD view follow it), "すべて" and the order check box. A chosen frame
// is its `chosen`; the marks and numbers only picture it.
#include "app/frame_page.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/sheet_probe.h"
#include "base/numbers.h"
#include "base/scope_exit.h"
#include "sheets/ordering.h"
#include "sheets/preview_mapping.h"
#include "sheets/print_scale.h"

namespace app {

namespace {

grid::Box boxOf(const frames::FrameRect& f) { return {f.minx, f.miny, f.maxx, f.maxy}; }

}  // namespace

int FrameSession::chosenCount() const {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(), [](const frames::FrameRect& f) { return f.chosen; }));
}

FramePage::FramePage(MainWindow& window)
    : lists([&window](std::unique_ptr<cad::CadApplication>& a) { return window.connectToCad(a); },
            DeviceLists::PaperNames::Media, DeviceLists::PaperNames::Display),
      window_(window) {}

PreviewCanvas FramePage::canvas() { return PreviewCanvas(window_.shell(), *preview, session.view, session.photo); }

void FramePage::showChosenCount() { chosenCount->setText(std::to_wstring(session.chosenCount())); }

void FramePage::outlineFrames() {
    if (session.frames.empty()) return;
    PreviewCanvas painter = canvas();
    for (const frames::FrameRect& f : session.frames) painter.outline(boxOf(f));
}

void FramePage::previewPressed(const ui::MouseEvent& e) {
    const std::optional<frames::DrawingPoint> p = drawingPointAt(*preview, session.photo, session.view, e.x, e.y);
    if (!p) return;
    try {
        const std::optional<std::size_t> hit = frames::frameAt(session.frames, *p);
        if (!hit) return;
        const std::size_t k = *hit;
        const frames::FrameRect frame = session.frames[k];

        showPrintScale(frame);

        desktop::ShellServices& shell = window_.shell();
        std::unique_ptr<cad::CadApplication> cadApp;
        if (!window_.connectToCad(cadApp)) return;
        const desktop::WindowHandle cadWindow = cadApp->mainWindowHandle();
        if (shell.isIconic(cadWindow)) shell.restoreWindow(cadWindow);
        shell.bringToForeground(cadWindow);
        cadApp->showAreaInView({frame.minx, frame.miny}, {frame.maxx, frame.maxy});
        cadApp.reset();

        const int pen = frames::markSizes(window_.monitorScaleFactor).pen;
        PreviewCanvas painter = canvas();
        if (pressReleases(e)) {
            session.frames[k].chosen = false;
            painter.restore(boxOf(frame), 1);
        } else {
            session.frames[k].chosen = true;
            painter.mark(boxOf(frame), pen);
        }
        int count = 0;
        for (const frames::FrameRect& f : session.frames) {
            if (!f.chosen) continue;
            painter.restore(boxOf(f), pen + 1);
            painter.number(boxOf(f), ++count);
        }
        chosenCount->setText(std::to_wstring(count));
    } catch (...) {
        // A failure ends the press quietly; what was done up to it stays.
    }
}

void FramePage::chooseOrReleaseAll(const ui::MouseEvent& e) {
    const bool releaseAll = releasesAll(e);
    if (session.frames.empty()) return;

    // The count is shown when this ends, also when a CAD call fails half-way and the
    // frames handled before keep their new state. Declared first, so it is written after
    // the repaint and the release of the automation objects.
    base::ScopeExit showCount;

    SheetProbe probe;
    if (!window_.connectToCad(probe.application)) return;
    showCount = base::ScopeExit([this] { showChosenCount(); });
    if (!releaseAll) probe.open();

    const frames::MarkSizes sizes = frames::markSizes(window_.monitorScaleFactor);
    const int pen = sizes.allPen;
    const double d = sizes.allInset;
    PreviewCanvas painter = canvas();
    for (std::size_t i = 0; i < session.frames.size(); ++i) {
        frames::FrameRect& f = session.frames[i];
        const grid::Box inside{f.minx + d, f.miny + d, f.maxx - d, f.maxy - d};
        f.chosen = false;
        painter.restore(inside, 1);
        if (releaseAll) continue;
        probe.tempSet->emptySet();
        const cad::CadPoint corner1{f.minx, f.miny, 0}, corner2{f.maxx, f.maxy, 0};
        probe.tempSet->selectWithFilter(0, &corner1, &corner2, nullptr);
        f.chosen = true;
        painter.mark(inside, pen);
        painter.number(boxOf(f), static_cast<int>(i) + 1);
    }
}

void FramePage::reorder() {
    // A running frame plot walks the list by position; it must not change under it.
    if (plotRunning_) return;
    frames::orderFrames(session.frames, fromTop->checked());
    if (!holdsPicture(session.photo)) return;
    const int pen = frames::markSizes(window_.monitorScaleFactor).pen;
    {
        PreviewCanvas painter = canvas();
        int count = 0;
        for (const frames::FrameRect& f : session.frames) {
            painter.restore(boxOf(f), pen + 1);
            if (f.chosen) painter.number(boxOf(f), ++count);
        }
    }
    showChosenCount();
}

plot::FrameScale FramePage::showPrintScale(const frames::FrameRect& frame) {
    const plot::FrameScale result = plot::framePrintScale(frame, paper->text());
    if (result.found) printScale->setText(base::formatFixed4(result.scale));
    return result;
}

void FramePage::toggleToolbar() {
    toolbar->setVisible(!toolbar->visible());
    toolbarToggle->setText(toolbar->visible() ? L"▲" : L"▼");
}

void FramePage::setPlotRunning(bool running) {
    plotRunning_ = running;
    for (ui::Widget* held : std::initializer_list<ui::Widget*>{captureButton, fromTop, printButton, printer, paper,
                                                               styleTable, listsButton, landscapeRotation,
                                                               portraitRotation})
        held->setEnabled(!running);
}

}  // namespace app
