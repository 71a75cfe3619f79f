// The CAD host's automation objects as the rest of the program sees them. Every
// operation either succeeds or throws cad::CadError carrying the host's text; a result
// of an unexpected shape is such an error too, never a crash.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cad/value.h"

namespace cad {

// A point as the host takes and gives it: 2 or 3 doubles (x, y[, z]).
using CadPoint = std::vector<double>;
using StringList = std::vector<std::wstring>;

struct BlockAttribute {
    std::wstring tag, text;
    friend bool operator==(const BlockAttribute&, const BlockAttribute&) = default;
};

class CadEntity {
public:
    virtual ~CadEntity() = default;
    virtual std::vector<double> Coordinates() = 0;  // x0, y0, x1, y1, ... (or x, y, z per vertex)
    virtual bool Closed() = 0;
    // The entity's box in the drawing (for a block reference: round everything it draws).
    virtual void entityExtents(CadPoint& lowerLeft, CadPoint& upperRight) = 0;
    virtual double insertRotation() = 0;  // a block reference's rotation, radians counter-clockwise
    // A block reference's attributes, tag and text each, in the reference's order.
    virtual std::vector<BlockAttribute> blockAttributes() = 0;
};

struct SelectionFilter {
    std::vector<std::int16_t> codes;
    std::vector<std::wstring> values;
};

class CadSelectionSet {
public:
    virtual ~CadSelectionSet() = default;
    virtual std::unique_ptr<CadEntity> entityAt(std::int32_t index) = 0;
    virtual std::int32_t entityCount() = 0;
    virtual std::wstring setName() = 0;
    virtual void emptySet() = 0;
    // mode 5: the whole drawing; mode 0: entities wholly inside the rectangle.
    // Corners and filter may be left out (nullptr / no filter).
    virtual void selectWithFilter(std::int32_t mode, const CadPoint* corner1, const CadPoint* corner2,
                                  const SelectionFilter* filter) = 0;
    virtual void discardSet() = 0;
    virtual void measureExtents(CadPoint& lowerLeft, CadPoint& upperRight) = 0;
};

class CadSelectionSets {
public:
    virtual ~CadSelectionSets() = default;
    virtual std::unique_ptr<CadSelectionSet> setAt(std::int32_t index) = 0;
    virtual std::int32_t setCount() = 0;
    virtual std::unique_ptr<CadSelectionSet> addSet(const std::wstring& name) = 0;
};

class CadUtility {
public:
    virtual ~CadUtility() = default;
    virtual double promptDistance(const std::wstring& prompt) = 0;  // base point omitted
    virtual CadPoint promptPoint(const std::wstring& prompt) = 0;    // base point omitted
};

class CadLayout {
public:
    virtual ~CadLayout() = default;
    virtual void setDevice(const std::wstring& name) = 0;
    virtual void setMedia(const std::wstring& name) = 0;
    virtual void setPaperUnitKind(std::int32_t kind) = 0;
    virtual void setSheetRotation(std::int32_t rotation) = 0;
    virtual void setCentreOnPaper(bool centre) = 0;
    virtual void setPlotAreaKind(std::int32_t kind) = 0;
    virtual void setUseListedScale(bool use) = 0;
    virtual void setScaleRatio(double paperUnits, double drawingUnits) = 0;
    virtual void setLineWeightScaling(bool scale) = 0;
    virtual void setPrintLineWeights(bool print) = 0;
    virtual std::wstring styleTableName() = 0;
    virtual void setStyleTable(const std::wstring& name) = 0;
    virtual void setPlotWindow(const CadPoint& corner1, const CadPoint& corner2) = 0;
    virtual void setApplyStyleTable(bool apply) = 0;
    virtual StringList mediaList() = 0;
    virtual StringList deviceList() = 0;
    virtual StringList styleTableList() = 0;
    virtual void reloadDeviceInfo() = 0;
    virtual std::wstring mediaDisplayName(const std::wstring& media) = 0;
};

class CadPlot {
public:
    virtual ~CadPlot() = default;
    virtual void setCopyCount(std::int32_t copies) = 0;
    virtual bool runPlot() = 0;  // configuration omitted
    // The layout's current sheet into the named file (a full path); true when written.
    virtual bool plotToFile(const std::wstring& fullName) = 0;
};

class CadDocument {
public:
    virtual ~CadDocument() = default;
    virtual std::unique_ptr<CadPlot> plotService() = 0;
    virtual std::unique_ptr<CadSelectionSets> selectionSetCollection() = 0;
    virtual std::unique_ptr<CadSelectionSet> documentSelectionSet() = 0;
    virtual std::unique_ptr<CadUtility> inputUtility() = 0;
    virtual Value readSysVar(const std::wstring& name) = 0;
    virtual void writeSysVar(const std::wstring& name, const Value& value) = 0;
    virtual std::unique_ptr<CadLayout> currentLayout() = 0;
    virtual std::intptr_t documentWindowHandle() = 0;
    // The drawing's folder (empty for a drawing never saved) and its file name.
    virtual std::wstring drawingFolder() = 0;
    virtual std::wstring drawingName() = 0;
};

class CadApplication {
public:
    virtual ~CadApplication() = default;
    virtual std::unique_ptr<CadDocument> currentDocument() = 0;
    virtual void showWholeDrawing() = 0;
    virtual void showAreaInView(const CadPoint& corner1, const CadPoint& corner2) = 0;
    virtual void showPreviousView() = 0;
    virtual std::intptr_t mainWindowHandle() = 0;
};

// Readers for system-variable values, tolerant of the numeric forms a host may use,
// strict about shape and about numbers that are not finite: anything else throws
// CadError.
double sysVarNumber(const Value& value);
std::int32_t sysVarInteger(const Value& value);
CadPoint sysVarPoint(const Value& value);  // at least 2 doubles

}  // namespace cad
