#include "sheets/plot_settings.h"

#include <memory>

#include "sheets/style_table.h"

namespace plot {

namespace {

constexpr std::int32_t kMillimetres = 1;
constexpr std::int32_t kWindowArea = 4;

}  // namespace

void sendSettingsBlock(cad::CadLayout& layout, const PlotSettings& settings) {
    layout.reloadDeviceInfo();
    layout.setDevice(settings.device);
    layout.setMedia(settings.media);
    layout.setStyleTable(settings.styleTable);
    layout.setPaperUnitKind(kMillimetres);
    if (settings.rotation) layout.setSheetRotation(*settings.rotation);
    layout.setPlotWindow(settings.lowerLeft, settings.upperRight);
    layout.setPlotAreaKind(kWindowArea);
    layout.setCentreOnPaper(true);
    layout.setUseListedScale(false);
    layout.setScaleRatio(1.0, settings.scale);
    const std::wstring table = layout.styleTableName();
    layout.setApplyStyleTable(isColourStyleTable(table));
    layout.setPrintLineWeights(true);
    layout.setLineWeightScaling(true);
    layout.reloadDeviceInfo();
}

bool requestPlot(cad::CadDocument& document) {
    const std::unique_ptr<cad::CadPlot> plot = document.plotService();
    plot->setCopyCount(1);
    try {
        return plot->runPlot();
    } catch (const cad::CadError&) {
        return false;  // this sheet is lost; the next one may still plot
    }
}

bool requestPlotToFile(cad::CadDocument& document, const std::wstring& fullName) {
    const std::unique_ptr<cad::CadPlot> plot = document.plotService();
    plot->setCopyCount(1);
    try {
        return plot->plotToFile(fullName);
    } catch (const cad::CadError&) {
        return false;  // refused (a file there already, a folder it cannot write): the run goes on
    }
}

}  // namespace plot
