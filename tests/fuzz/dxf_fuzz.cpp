// libFuzzer target: any bytes as a drawing for the CAD stand-in. The reader either gives a
// drawing or throws DxfError naming a line of the file; then the stand-in's first
// look at the drawing runs as when it opens one: the extents, the view that shows them
// all, and every entity's outline at that view's pixel size. Besides the sanitizers'
// faults, it stops on:
// - any other exception out of the reader;
// - a DxfError whose line lies past the end of the file, or whose message does not name
//   the file;
// - an insert whose entities lie outside the drawing's list, or an entity that names an
//   insert there is not;
// - extents or a view that are not finite numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/model/drawing.h"
#include "sim/model/geometry.h"
#include "sim/model/view.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "dxf fuzz: %s\n", what);
    std::abort();
}

bool finite(sim::Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::Drawing drawing;
    try {
        drawing = sim::readDxfText(text, "fuzz.dxf");
    } catch (const sim::DxfError& e) {
        std::size_t lines = 1;
        for (char c : text) lines += c == '\n';
        if (e.line > lines + 1) fault("a DxfError names a line past the end of the file");
        if (std::string(e.what()).rfind("fuzz.dxf", 0) != 0) fault("a DxfError does not name the file");
        return 0;
    }

    for (const sim::Insert& insert : drawing.inserts)
        if (insert.first > drawing.entities.size() || insert.count > drawing.entities.size() - insert.first)
            fault("an insert's entities lie outside the drawing's list");
    for (const sim::Entity& e : drawing.entities)
        if (e.insert < -1 || e.insert >= static_cast<long>(drawing.inserts.size())) fault("an entity names an insert there is not");

    const sim::Extents box = drawing.extents();
    if (!box.empty && !(finite(box.min) && finite(box.max))) fault("the extents are not finite");
    const sim::ViewState view = sim::fitView(sim::ViewState{}, box);
    if (!std::isfinite(view.centreX) || !std::isfinite(view.centreY) || !(view.height > 0) || !std::isfinite(view.height))
        fault("the view of the whole drawing is not finite");
    const double pixel = view.height / view.heightPx;
    for (const sim::Entity& e : drawing.entities) (void)sim::outlinePoints(e, pixel);
    return 0;
}
