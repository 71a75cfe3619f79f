#include "cad/members.h"

#include <array>
#include <cwctype>
#include <stdexcept>

namespace cad {
namespace {

using enum ObjectKind;
constexpr CallKind G = CallKind::Get, P = CallKind::Put, M = CallKind::Method;

constexpr std::array kMembers{
    Member{Application, L"currentDocument", L"ActiveDocument", G},
    Member{Application, L"showWholeDrawing", L"ZoomExtents", M},
    Member{Application, L"showAreaInView", L"ZoomWindow", M},
    Member{Application, L"showPreviousView", L"ZoomPrevious", M},
    Member{Application, L"mainWindowHandle", L"HWND", G},
    Member{Document, L"plotService", L"Plot", G},
    Member{Document, L"selectionSetCollection", L"SelectionSets", G},
    Member{Document, L"documentSelectionSet", L"ActiveSelectionSet", G},
    Member{Document, L"inputUtility", L"Utility", G},
    Member{Document, L"readSysVar", L"GetVariable", M},
    Member{Document, L"writeSysVar", L"SetVariable", M},
    Member{Document, L"currentLayout", L"ActiveLayout", G},
    Member{Document, L"documentWindowHandle", L"HWND", G},
    Member{SelectionSets, L"setAt", L"Item", M},
    Member{SelectionSets, L"setCount", L"Count", G},
    Member{SelectionSets, L"addSet", L"Add", M},
    Member{SelectionSet, L"entityAt", L"Item", M},
    Member{SelectionSet, L"entityCount", L"Count", G},
    Member{SelectionSet, L"setName", L"Name", G},
    Member{SelectionSet, L"emptySet", L"Clear", M},
    Member{SelectionSet, L"selectWithFilter", L"Select", M},
    Member{SelectionSet, L"discardSet", L"Delete", M},
    Member{SelectionSet, L"measureExtents", L"GetBoundingBox", M},
    Member{Entity, L"Coordinates", L"Coordinates", G},
    Member{Entity, L"Closed", L"Closed", G},
    Member{Utility, L"promptDistance", L"GetDistance", M},
    Member{Utility, L"promptPoint", L"GetPoint", M},
    Member{Layout, L"setDevice", L"ConfigName", P},
    Member{Layout, L"setMedia", L"CanonicalMediaName", P},
    Member{Layout, L"setPaperUnitKind", L"PaperUnits", P},
    Member{Layout, L"setSheetRotation", L"PlotRotation", P},
    Member{Layout, L"setCentreOnPaper", L"CenterPlot", P},
    Member{Layout, L"setPlotAreaKind", L"PlotType", P},
    Member{Layout, L"setUseListedScale", L"UseStandardScale", P},
    Member{Layout, L"setScaleRatio", L"SetCustomScale", M},
    Member{Layout, L"setLineWeightScaling", L"ScaleLineweights", P},
    Member{Layout, L"setPrintLineWeights", L"PlotWithLineweights", P},
    Member{Layout, L"styleTableName", L"StyleSheet", G},
    Member{Layout, L"setStyleTable", L"StyleSheet", P},
    Member{Layout, L"setPlotWindow", L"SetWindowToPlot", M},
    Member{Layout, L"setApplyStyleTable", L"PlotWithPlotStyles", P},
    Member{Layout, L"mediaList", L"GetCanonicalMediaNames", M},
    Member{Layout, L"deviceList", L"GetPlotDeviceNames", M},
    Member{Layout, L"styleTableList", L"GetPlotStyleTableNames", M},
    Member{Layout, L"reloadDeviceInfo", L"RefreshPlotDeviceInfo", M},
    Member{Layout, L"mediaDisplayName", L"GetLocaleMediaName", M},
    Member{Plot, L"setCopyCount", L"NumberOfCopies", P},
    Member{Plot, L"runPlot", L"PlotToDevice", M},
};

bool sameNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

}  // namespace

std::span<const Member> memberTable() { return kMembers; }

const Member& member(ObjectKind object, std::wstring_view operation) {
    for (const Member& m : kMembers)
        if (m.object == object && m.operation == operation) return m;
    throw std::logic_error("no such automation operation");
}

const Member* findMember(ObjectKind object, std::wstring_view name, CallKind kind) {
    for (const Member& m : kMembers)
        if (m.object == object && m.kind == kind && sameNoCase(m.name, name)) return &m;
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
    }
    return L"?";
}

}  // namespace cad
