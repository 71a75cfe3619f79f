// The one table of the CAD host's automation members: which object has which operation,
// under which member name, called how. The COM client, the stand-in's COM server and
// its in-process model all read it, so a host that spells a member differently is one
// line to change.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "cad/value.h"

namespace cad {

// Attribute: an attribute reference of a block reference.
enum class ObjectKind { Application, Document, SelectionSets, SelectionSet, Entity, Utility, Layout, Plot, Attribute };

// Our code names for the members, one per row of the table and in its order: an
// operation is the index of its row. The stand-in's member ids follow the same order.
enum class Operation {
    // Application
    currentDocument,
    showWholeDrawing,
    showAreaInView,
    showPreviousView,
    mainWindowHandle,
    // Document
    plotService,
    selectionSetCollection,
    documentSelectionSet,
    inputUtility,
    readSysVar,
    writeSysVar,
    currentLayout,
    documentWindowHandle,
    // SelectionSets
    setAt,
    setCount,
    addSet,
    // SelectionSet
    entityAt,
    entityCount,
    setName,
    emptySet,
    selectWithFilter,
    discardSet,
    measureExtents,
    // Entity
    Coordinates,
    Closed,
    // Utility
    promptDistance,
    promptPoint,
    // Layout
    setDevice,
    setMedia,
    setPaperUnitKind,
    setSheetRotation,
    setCentreOnPaper,
    setPlotAreaKind,
    setUseListedScale,
    setScaleRatio,
    setLineWeightScaling,
    setPrintLineWeights,
    styleTableName,
    setStyleTable,
    setPlotWindow,
    setApplyStyleTable,
    mediaList,
    deviceList,
    styleTableList,
    reloadDeviceInfo,
    mediaDisplayName,
    // Plot
    setCopyCount,
    runPlot,
    // Added later, at the end so that the rows above keep their places (the stand-in's
    // member ids follow them).
    // Entity
    entityExtents,
    insertRotation,  // a block reference's rotation
    // Document
    drawingFolder,
    drawingName,
    // Plot
    plotToFile,
    // Entity
    blockAttributes,  // a block reference's attribute references
    // Attribute
    attributeTag,
    attributeText,  // the last one: kOperationCount counts from it
};

inline constexpr std::size_t kOperationCount = static_cast<std::size_t>(Operation::attributeText) + 1;

struct Member {
    ObjectKind object;
    Operation operation;
    std::wstring_view operationName;  // the operation as traces and fault rules write it, e.g. L"showWholeDrawing"
    std::wstring_view name;           // the host's member name, e.g. L"ZoomExtents"
    CallKind kind;
};

// Every row, in operation order.
std::span<const Member> memberTable();

// The row of an operation.
const Member& member(Operation operation);

// The operation of a code name (letter case counts); nullopt when none has it.
std::optional<Operation> operationNamed(std::wstring_view name);

// The row matching a host member name and call kind on an object (member names are
// compared without regard to letter case, as IDispatch does); nullptr when absent.
const Member* findMember(ObjectKind object, std::wstring_view name, CallKind kind);

std::wstring_view objectKindName(ObjectKind object);

}  // namespace cad
