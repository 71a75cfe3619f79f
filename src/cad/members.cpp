#include "cad/members.h"

#include <array>

#include "base/names.h"

namespace cad {
namespace {

using enum ObjectKind;
constexpr CallKind G = CallKind::Get, P = CallKind::Put, M = CallKind::Method;

constexpr std::array kMembers{
    Member{Application, Operation::currentDocument, L"currentDocument", L"ActiveDocument", G},
    Member{Application, Operation::showWholeDrawing, L"showWholeDrawing", L"ZoomExtents", M},
    Member{Application, Operation::showAreaInView, L"showAreaInView", L"ZoomWindow", M},
    Member{Application, Operation::showPreviousView, L"showPreviousView", L"ZoomPrevious", M},
    Member{Application, Operation::mainWindowHandle, L"mainWindowHandle", L"HWND", G},
    Member{Document, Operation::plotService, L"plotService", L"Plot", G},
    Member{Document, Operation::selectionSetCollection, L"selectionSetCollection", L"SelectionSets", G},
    Member{Document, Operation::documentSelectionSet, L"documentSelectionSet", L"ActiveSelectionSet", G},
    Member{Document, Operation::inputUtility, L"inputUtility", L"Utility", G},
    Member{Document, Operation::readSysVar, L"readSysVar", L"GetVariable", M},
    Member{Document, Operation::writeSysVar, L"writeSysVar", L"SetVariable", M},
    Member{Document, Operation::currentLayout, L"currentLayout", L"ActiveLayout", G},
    Member{Document, Operation::documentWindowHandle, L"documentWindowHandle", L"HWND", G},
    Member{SelectionSets, Operation::setAt, L"setAt", L"Item", M},
    Member{SelectionSets, Operation::setCount, L"setCount", L"Count", G},
    Member{SelectionSets, Operation::addSet, L"addSet", L"Add", M},
    Member{SelectionSet, Operation::entityAt, L"entityAt", L"Item", M},
    Member{SelectionSet, Operation::entityCount, L"entityCount", L"Count", G},
    Member{SelectionSet, Operation::setName, L"setName", L"Name", G},
    Member{SelectionSet, Operation::emptySet, L"emptySet", L"Clear", M},
    Member{SelectionSet, Operation::selectWithFilter, L"selectWithFilter", L"Select", M},
    Member{SelectionSet, Operation::discardSet, L"discardSet", L"Delete", M},
    Member{SelectionSet, Operation::measureExtents, L"measureExtents", L"GetBoundingBox", M},
    Member{Entity, Operation::Coordinates, L"Coordinates", L"Coordinates", G},
    Member{Entity, Operation::Closed, L"Closed", L"Closed", G},
    Member{Utility, Operation::promptDistance, L"promptDistance", L"GetDistance", M},
    Member{Utility, Operation::promptPoint, L"promptPoint", L"GetPoint", M},
    Member{Layout, Operation::setDevice, L"setDevice", L"ConfigName", P},
    Member{Layout, Operation::setMedia, L"setMedia", L"CanonicalMediaName", P},
    Member{Layout, Operation::setPaperUnitKind, L"setPaperUnitKind", L"PaperUnits", P},
    Member{Layout, Operation::setSheetRotation, L"setSheetRotation", L"PlotRotation", P},
    Member{Layout, Operation::setCentreOnPaper, L"setCentreOnPaper", L"CenterPlot", P},
    Member{Layout, Operation::setPlotAreaKind, L"setPlotAreaKind", L"PlotType", P},
    Member{Layout, Operation::setUseListedScale, L"setUseListedScale", L"UseStandardScale", P},
    Member{Layout, Operation::setScaleRatio, L"setScaleRatio", L"SetCustomScale", M},
    Member{Layout, Operation::setLineWeightScaling, L"setLineWeightScaling", L"ScaleLineweights", P},
    Member{Layout, Operation::setPrintLineWeights, L"setPrintLineWeights", L"PlotWithLineweights", P},
    Member{Layout, Operation::styleTableName, L"styleTableName", L"StyleSheet", G},
    Member{Layout, Operation::setStyleTable, L"setStyleTable", L"StyleSheet", P},
    Member{Layout, Operation::setPlotWindow, L"setPlotWindow", L"SetWindowToPlot", M},
    Member{Layout, Operation::setApplyStyleTable, L"setApplyStyleTable", L"PlotWithPlotStyles", P},
    Member{Layout, Operation::mediaList, L"mediaList", L"GetCanonicalMediaNames", M},
    Member{Layout, Operation::deviceList, L"deviceList", L"GetPlotDeviceNames", M},
    Member{Layout, Operation::styleTableList, L"styleTableList", L"GetPlotStyleTableNames", M},
    Member{Layout, Operation::reloadDeviceInfo, L"reloadDeviceInfo", L"RefreshPlotDeviceInfo", M},
    Member{Layout, Operation::mediaDisplayName, L"mediaDisplayName", L"GetLocaleMediaName", M},
    Member{Plot, Operation::setCopyCount, L"setCopyCount", L"NumberOfCopies", P},
    Member{Plot, Operation::runPlot, L"runPlot", L"PlotToDevice", M},
    Member{Entity, Operation::entityExtents, L"entityExtents", L"GetBoundingBox", M},
    Member{Entity, Operation::insertRotation, L"insertRotation", L"Rotation", G},
    Member{Document, Operation::drawingFolder, L"drawingFolder", L"Path", G},
    Member{Document, Operation::drawingName, L"drawingName", L"Name", G},
    Member{Plot, Operation::plotToFile, L"plotToFile", L"PlotToFile", M},
    Member{Entity, Operation::blockAttributes, L"blockAttributes", L"GetAttributes", M},
    Member{Attribute, Operation::attributeTag, L"attributeTag", L"TagString", G},
    Member{Attribute, Operation::attributeText, L"attributeText", L"TextString", G},
};

// Row i is operation i, and no two operations share a code name.
constexpr bool inOperationOrder() {
    if (kMembers.size() != kOperationCount) return false;
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        if (kMembers[i].operation != static_cast<Operation>(i)) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (kMembers[j].operationName == kMembers[i].operationName) return false;
    }
    return true;
}
static_assert(inOperationOrder(), "the member table needs one row per operation, in the order of cad::Operation");

}  // namespace

std::span<const Member> memberTable() { return kMembers; }

const Member& member(Operation operation) { return kMembers[static_cast<std::size_t>(operation)]; }

std::optional<Operation> operationNamed(std::wstring_view name) {
    for (const Member& m : kMembers)
        if (m.operationName == name) return m.operation;
    return std::nullopt;
}

const Member* findMember(ObjectKind object, std::wstring_view name, CallKind kind) {
    for (const Member& m : kMembers)
        if (m.object == object && m.kind == kind && base::sameNameIgnoringCase(m.name, name)) return &m;
    return nullptr;
}

std::wstring_view objectKindName(ObjectKind object) {
    switch (object) {
        case Application: return L"Application";
        case Document: return L"Document";
        case SelectionSets: return L"SelectionSets";
        case SelectionSet: return L"SelectionSet";
        case Entity: return L"Entity";
        case Utility: return L"Utility";
        case Layout: return L"Layout";
        case Plot: return L"Plot";
        case Attribute: return L"Attribute";
    }
    return L"?";
}

}  // namespace cad
