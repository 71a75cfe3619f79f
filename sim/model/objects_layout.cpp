// The layout (plot settings, devices, media, style tables) and the plot service.
#include <cmath>
#include <stdexcept>

#include "sim/model/args.h"
#include "sim/model/host_state.h"
#include "sim/model/plot_job.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::int32_t inRange(const cad::Member& m, std::int32_t v, std::int32_t min, std::int32_t max) {
    if (v < min || v > max)
        hostError(m, L"value " + std::to_wstring(v) + L" is out of range (" + std::to_wstring(min) + L" to " +
                         std::to_wstring(max) + L")");
    return v;
}

const PlotDevice& currentDevice(const cad::Member& m, const LayoutSettings& s) {
    const PlotDevice* device = findDevice(s.device);
    if (!device) hostError(m, L"the layout's plot device \"" + s.device + L"\" is not installed");
    return *device;
}

const Media& mediaOf(const cad::Member& m, const LayoutSettings& s, const std::wstring& name) {
    const PlotDevice& device = currentDevice(m, s);
    const Media* media = findMedia(device, name);
    if (!media) hostError(m, L"invalid input: the plot device \"" + device.name + L"\" has no media \"" + name + L"\"");
    return *media;
}

class Layout final : public Object {
public:
    Layout(std::shared_ptr<State> s, std::wstring name) : Object(std::move(s), cad::ObjectKind::Layout), name_(std::move(name)) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        LayoutSettings& s = state().layouts[name_];
        Args args(m, list);
        const std::wstring_view op = m.operation;
        if (m.kind == cad::CallKind::Put) {
            args.count(1, 1);
            put(m, args, s);
            return {};
        }
        if (op == L"setScaleRatio") {
            args.count(2, 2);
            double paper = args.number(0), drawing = args.number(1);
            if (!(paper > 0) || !(drawing > 0)) hostError(m, L"a scale needs two positive numbers");
            s.scalePaper = paper, s.scaleDrawing = drawing;
        } else if (op == L"setPlotWindow") {
            args.count(2, 2);
            s.window1 = args.point(0);
            s.window2 = args.point(1);
        } else if (op == L"mediaDisplayName") {
            args.count(1, 1);
            return mediaOf(m, s, args.text(0)).display;
        } else {
            args.count(0, 0);
            if (op == L"styleTableName") return s.styleTable;
            if (op == L"deviceList") return names(plotDevices(), [](const PlotDevice& d) { return d.name; });
            if (op == L"styleTableList") return plotStyleTables();
            if (op == L"mediaList") return names(currentDevice(m, s).media, [](const Media& x) { return x.canonical; });
            if (op == L"reloadDeviceInfo") followDevice(s);
        }
        return {};
    }

    void put(const cad::Member& m, Args& args, LayoutSettings& s) {
        const std::wstring_view op = m.operation;
        if (op == L"setDevice") {
            std::wstring name = args.text(0);
            const PlotDevice* device = findDevice(name);
            if (!device) hostError(m, L"invalid input: there is no plot device \"" + name + L"\"");
            s.device = device->name;
            followDevice(s);
        } else if (op == L"setMedia") {
            std::wstring name = args.text(0);
            s.media = mediaOf(m, s, name).canonical;
        } else if (op == L"setStyleTable") {
            std::wstring name = args.text(0);
            if (name.empty()) {
                s.styleTable.clear();
                return;
            }
            for (const std::wstring& table : plotStyleTables())
                if (equalsNoCase(table, name)) {
                    s.styleTable = table;
                    return;
                }
            hostError(m, L"invalid input: there is no plot style table \"" + name + L"\"");
        } else if (op == L"setPaperUnitKind") {
            s.paperUnits = inRange(m, args.integer(0), 0, 2);
        } else if (op == L"setSheetRotation") {
            s.rotation = inRange(m, args.integer(0), 0, 3);
        } else if (op == L"setPlotAreaKind") {
            s.areaKind = inRange(m, args.integer(0), 0, 5);
        } else if (op == L"setCentreOnPaper") {
            s.centred = args.flag(0);
        } else if (op == L"setUseListedScale") {
            s.listedScale = args.flag(0);
        } else if (op == L"setLineWeightScaling") {
            s.lineWeightScaling = args.flag(0);
        } else if (op == L"setPrintLineWeights") {
            s.printLineWeights = args.flag(0);
        } else if (op == L"setApplyStyleTable") {
            s.applyStyleTable = args.flag(0);
        }
    }

    template <typename T, typename F>
    static std::vector<std::wstring> names(const std::vector<T>& items, F name) {
        std::vector<std::wstring> out;
        for (const T& item : items) out.push_back(name(item));
        return out;
    }

    std::wstring name_;
};

// What a plot of these settings covers, in drawing units: the window, the view on
// screen, or the drawing's extents (for extents, limits and layout alike).
Extents plotArea(const State& s, const LayoutSettings& settings) {
    Extents area;
    switch (settings.areaKind) {
        case 4:
            include(area, settings.window1);
            include(area, settings.window2);
            break;
        case 0:
        case 3: {
            const ViewState& v = s.view;
            const double halfHeight = v.height / 2;
            const double halfWidth = v.heightPx > 0 ? halfHeight * v.widthPx / v.heightPx : halfHeight;
            include(area, Vec2{v.centreX - halfWidth, v.centreY - halfHeight});
            include(area, Vec2{v.centreX + halfWidth, v.centreY + halfHeight});
            break;
        }
        default: area = s.extents;
    }
    return area;
}

class Plot final : public Object {
public:
    explicit Plot(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Plot) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        State& s = state();
        Args args(m, list);
        args.count(m.operation == L"runPlot" ? 0 : 1, 1);
        if (m.operation == L"setCopyCount") {
            s.copies = inRange(m, args.integer(0), 1, 999);
            return {};
        }
        if (args.given(0) && !args.at(0).is<cad::Empty>()) hostError(m, L"plot configurations are not supported");
        PlotJob job;
        job.layout = s.activeLayout;
        job.settings = s.layouts[s.activeLayout];
        job.copies = s.copies;
        const LayoutSettings& settings = job.settings;
        const PlotDevice* device = findDevice(settings.device);
        if (!device || device->media.empty() || settings.media.empty())
            hostError(m, L"no plot device with paper is set for the layout \"" + job.layout + L"\"");
        if (settings.areaKind == 4 &&
            (settings.window1.x == settings.window2.x || settings.window1.y == settings.window2.y))
            hostError(m, L"the plot window has no area");
        job.number = s.jobs + 1;
        job.area = plotArea(s, settings);
        try {
            job.output = writePlotOutput(job, s.drawing, s.options.plotDir);
            if (!s.options.journal.empty()) appendJournal(s.options.journal, job);
        } catch (const std::runtime_error& e) {
            hostError(m, decodeUtf8(e.what()));
        }
        s.jobs = job.number;
        return true;
    }
};

}  // namespace

cad::DispatchPtr makeLayout(const std::shared_ptr<State>& s, std::wstring name) {
    return std::make_shared<Layout>(s, std::move(name));
}
cad::DispatchPtr makePlot(const std::shared_ptr<State>& s) { return std::make_shared<Plot>(s); }

}  // namespace sim
