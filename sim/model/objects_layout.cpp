// The layout (plot settings, devices, media, style tables) and the plot service.
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "base/text_codec.h"
#include "sim/model/args.h"
#include "sim/model/format.h"
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
        using enum cad::Operation;
        LayoutSettings& s = state().layouts[name_];
        Args args(m, list);
        switch (m.operation) {
            case setDevice: {
                args.count(1, 1);
                std::wstring name = args.text(0);
                const PlotDevice* device = findDevice(name);
                if (!device) hostError(m, L"invalid input: there is no plot device \"" + name + L"\"");
                s.device = device->name;
                followDevice(s);
                return {};
            }
            case setMedia: {
                args.count(1, 1);
                std::wstring name = args.text(0);
                s.media = mediaOf(m, s, name).canonical;
                return {};
            }
            case setStyleTable: {
                args.count(1, 1);
                std::wstring name = args.text(0);
                if (name.empty()) {
                    s.styleTable.clear();
                    return {};
                }
                for (const std::wstring& table : plotStyleTables())
                    if (equalsNoCase(table, name)) {
                        s.styleTable = table;
                        return {};
                    }
                hostError(m, L"invalid input: there is no plot style table \"" + name + L"\"");
            }
            case setPaperUnitKind:
                args.count(1, 1);
                s.paperUnits = inRange(m, args.integer(0), 0, 2);
                return {};
            case setSheetRotation:
                args.count(1, 1);
                s.rotation = inRange(m, args.integer(0), 0, 3);
                return {};
            case setPlotAreaKind:
                args.count(1, 1);
                s.areaKind = inRange(m, args.integer(0), 0, 5);
                return {};
            case setCentreOnPaper:
                args.count(1, 1);
                s.centred = args.flag(0);
                return {};
            case setUseListedScale:
                args.count(1, 1);
                s.listedScale = args.flag(0);
                return {};
            case setLineWeightScaling:
                args.count(1, 1);
                s.lineWeightScaling = args.flag(0);
                return {};
            case setPrintLineWeights:
                args.count(1, 1);
                s.printLineWeights = args.flag(0);
                return {};
            case setApplyStyleTable:
                args.count(1, 1);
                s.applyStyleTable = args.flag(0);
                return {};
            case setScaleRatio: {
                args.count(2, 2);
                double paper = args.number(0), drawing = args.number(1);
                if (!(paper > 0) || !(drawing > 0)) hostError(m, L"a scale needs two positive numbers");
                // Two numbers whose ratio is none (1e300 to 1e-300) make no scale either.
                const double ratio = paper / drawing;
                if (!std::isfinite(ratio) || !(ratio > 0))
                    hostError(m, L"invalid input: the scale " + decodeUtf8(numberText(paper)) + L":" +
                                     decodeUtf8(numberText(drawing)) + L" is out of range");
                s.scalePaper = paper, s.scaleDrawing = drawing;
                return {};
            }
            case setPlotWindow: {
                args.count(2, 2);
                const Vec2 a = args.point(0), b = args.point(1);
                // Finite corners can still be too far apart for the window to have a size.
                if (!std::isfinite(b.x - a.x) || !std::isfinite(b.y - a.y))
                    hostError(m, L"invalid input: the plot window is too large");
                s.window1 = a;
                s.window2 = b;
                return {};
            }
            case mediaDisplayName:
                args.count(1, 1);
                return mediaOf(m, s, args.text(0)).display;
            case styleTableName:
                args.count(0, 0);
                return s.styleTable;
            case deviceList:
                args.count(0, 0);
                return names(plotDevices(), [](const PlotDevice& d) { return d.name; });
            case styleTableList:
                args.count(0, 0);
                return plotStyleTables();
            case mediaList:
                args.count(0, 0);
                return names(currentDevice(m, s).media, [](const Media& x) { return x.canonical; });
            case reloadDeviceInfo:
                args.count(0, 0);
                followDevice(s);
                return {};
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
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
        using enum cad::Operation;
        Args args(m, list);
        switch (m.operation) {
            case setCopyCount:
                args.count(1, 1);
                state().copies = inRange(m, args.integer(0), 1, 999);
                return {};
            case runPlot:
                args.count(0, 1);
                return plot(m, args, 0, [](PlotJob& job, const State& s) {
                    recordPlot(job, s.drawing, s.options.plotDir, s.options.journal);
                });
            case plotToFile: {
                args.count(1, 2);
                const std::filesystem::path file = base::toPath(args.text(0));
                return plot(m, args, 1, [file](PlotJob& job, const State& s) {
                    recordPlotToFile(job, s.drawing, file, s.options.journal);
                });
            }
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }

    // PlotToDevice, PlotToFile: one job of the active layout's settings, with no plot
    // configuration (argument `config`), recorded by `record`. With an odd BACKGROUNDPLOT
    // (the host's rule: plots go to the background unless it is 0, its bit 1 being for
    // publishing) the job is taken with the settings of now and recorded later
    // (Host::finishBackgroundPlot), and a plot asked for while one is still pending is
    // refused: the call answers false.
    template <typename Record>
    bool plot(const cad::Member& m, Args& args, std::size_t config, Record record) {
        State& s = state();
        if (args.given(config) && !args.at(config).is<cad::Empty>()) hostError(m, L"plot configurations are not supported");
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
        if (s.backgroundJob) {
            s.trace.write(L"background: job " + std::to_wstring(s.backgroundJob->job) + L" still plotting; " +
                              std::wstring(m.name) + L" refused",
                          nullptr);
            return false;
        }
        job.number = s.jobs + 1;
        job.area = plotArea(s, settings);
        if (s.backgroundPlot & 1) {
            s.jobs = job.number;
            s.backgroundJob = State::BackgroundPlot{
                job.number, [job, record](const State& state) mutable { record(job, state); }};
            if (s.host && s.host->onBackgroundPlot) s.host->onBackgroundPlot();
            return true;
        }
        try {
            record(job, s);
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
