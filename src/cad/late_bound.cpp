#include "cad/late_bound.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/numbers.h"
#include "cad/ids.h"
#include "cad/members.h"

namespace cad {
namespace {

using enum ObjectKind;

// One late-bound object of a known kind; call() takes the member from the table.
class LateBound {
public:
    LateBound(DispatchPtr object, ObjectKind kind) : object_(std::move(object)), kind_(kind) {
        if (!object_) throw CadError(L"CAD から " + std::wstring(objectKindName(kind)) + L" オブジェクトが返されませんでした。");
    }

protected:
    // Calls the operation; `args` receives what the host wrote into out arguments.
    Value call(Operation operation, ValueList& args) {
        const Member& m = member(operation);
        if (m.object != kind_) throw std::logic_error("an automation operation called on another kind of object");
        current_ = m.name;
        return object_->invoke(m.name, m.kind, args);
    }
    Value call(Operation operation, ValueList&& args = {}) { return call(operation, args); }

    [[noreturn]] void badShape(const wchar_t* what) const {
        throw CadError(std::wstring(current_) + L": CAD の応答が" + what + L"。");
    }

    DispatchPtr object(Value result) const {
        DispatchPtr* p = result.get<DispatchPtr>();
        if (!p || !*p) badShape(L"オブジェクトではありません");
        return std::move(*p);
    }
    std::int32_t integer(const Value& result) const {
        if (const std::int32_t* i = result.get<std::int32_t>()) return *i;
        if (const std::int16_t* i = result.get<std::int16_t>()) return *i;
        badShape(L"整数ではありません");
    }
    double number(const Value& result) const {
        if (const double* d = result.get<double>()) return *d;
        if (result.is<std::int32_t>() || result.is<std::int16_t>()) return integer(result);
        badShape(L"数値ではありません");
    }
    bool boolean(const Value& result) const {
        if (const bool* b = result.get<bool>()) return *b;
        badShape(L"真偽値ではありません");
    }
    std::wstring text(Value result) const {
        std::wstring* s = result.get<std::wstring>();
        if (!s) badShape(L"文字列ではありません");
        return std::move(*s);
    }
    // A list of strings: an array of strings, numbers or variants. Each element becomes
    // its text: numbers as the process writes them, booleans as "True" or "False"; an
    // element that has no text (nothing, an object, an array) is left out.
    StringList list(Value result) const {
        if (StringList* strings = result.get<StringList>()) return std::move(*strings);
        StringList out;
        if (const std::vector<double>* numbers = result.get<std::vector<double>>()) {
            for (double d : *numbers) out.push_back(base::formatGeneral(d));
            return out;
        }
        if (const std::vector<std::int16_t>* numbers = result.get<std::vector<std::int16_t>>()) {
            for (std::int16_t i : *numbers) out.push_back(std::to_wstring(i));
            return out;
        }
        const ValueList* items = result.get<ValueList>();
        if (!items) badShape(L"一覧ではありません");
        out.reserve(items->size());
        for (const Value& item : *items)
            if (std::optional<std::wstring> text = elementText(item)) out.push_back(std::move(*text));
        return out;
    }
    static std::optional<std::wstring> elementText(const Value& item) {
        if (const std::wstring* s = item.get<std::wstring>()) return *s;
        if (const double* d = item.get<double>()) return base::formatGeneral(*d);
        if (const std::int32_t* i = item.get<std::int32_t>()) return std::to_wstring(*i);
        if (const std::int16_t* i = item.get<std::int16_t>()) return std::to_wstring(*i);
        if (const bool* b = item.get<bool>()) return std::wstring(*b ? L"True" : L"False");
        return std::nullopt;
    }
    // Doubles: an array of doubles, or an array of variants holding numbers.
    std::vector<double> doubles(Value result) const {
        if (std::vector<double>* d = result.get<std::vector<double>>()) return std::move(*d);
        const ValueList* items = result.get<ValueList>();
        if (!items) badShape(L"数値の配列ではありません");
        std::vector<double> out;
        out.reserve(items->size());
        for (const Value& item : *items) {
            if (!item.is<double>() && !item.is<std::int32_t>() && !item.is<std::int16_t>())
                badShape(L"数値の配列ではありません");
            out.push_back(number(item));
        }
        return out;
    }
    CadPoint point(Value result) const {
        CadPoint p = doubles(std::move(result));
        if (p.size() != 2 && p.size() != 3) badShape(L"2 次元か 3 次元の点ではありません");
        return p;
    }
    // A box given back through two out arguments; the corners change only when both are
    // points.
    void corners(Operation operation, CadPoint& lowerLeft, CadPoint& upperRight) {
        ValueList args(2);  // two empty out arguments
        call(operation, args);
        if (args.size() != 2) badShape(L"2 つの角ではありません");
        CadPoint ll = point(std::move(args[0]));
        CadPoint ur = point(std::move(args[1]));
        lowerLeft = std::move(ll);
        upperRight = std::move(ur);
    }
    static Value pointArgument(const CadPoint& p) {
        if (p.size() != 2 && p.size() != 3) throw CadError(L"点の座標は 2 つか 3 つです。");
        return p;
    }

    DispatchPtr object_;
    ObjectKind kind_;
    std::wstring_view current_;  // the member being called, for error texts
};

class LateAttribute final : LateBound {
public:
    explicit LateAttribute(DispatchPtr o) : LateBound(std::move(o), Attribute) {}
    BlockAttribute read() { return {text(call(Operation::attributeTag)), text(call(Operation::attributeText))}; }
};

class LateEntity final : public CadEntity, LateBound {
public:
    explicit LateEntity(DispatchPtr o) : LateBound(std::move(o), Entity) {}
    std::vector<double> Coordinates() override { return doubles(call(Operation::Coordinates)); }
    bool Closed() override { return boolean(call(Operation::Closed)); }
    void entityExtents(CadPoint& lowerLeft, CadPoint& upperRight) override {
        corners(Operation::entityExtents, lowerLeft, upperRight);
    }
    double insertRotation() override { return number(call(Operation::insertRotation)); }
    // An array of attribute objects, or of variants holding them; nothing, or an empty
    // array, when it has none.
    std::vector<BlockAttribute> blockAttributes() override {
        Value result = call(Operation::blockAttributes);
        std::vector<BlockAttribute> out;
        if (result.is<Empty>()) return out;
        auto read = [&](const DispatchPtr* attribute) {
            if (!attribute || !*attribute) badShape(L"属性の一覧ではありません");
            out.push_back(LateAttribute(*attribute).read());
        };
        if (const auto* objects = result.get<std::vector<DispatchPtr>>()) {
            for (const DispatchPtr& item : *objects) read(&item);
        } else if (const ValueList* items = result.get<ValueList>()) {
            for (const Value& item : *items) read(item.get<DispatchPtr>());
        } else {
            badShape(L"属性の一覧ではありません");
        }
        return out;
    }
};

class LateSelectionSet final : public CadSelectionSet, LateBound {
public:
    explicit LateSelectionSet(DispatchPtr o) : LateBound(std::move(o), SelectionSet) {}
    std::unique_ptr<CadEntity> entityAt(std::int32_t index) override {
        return std::make_unique<LateEntity>(object(call(Operation::entityAt, {index})));
    }
    std::int32_t entityCount() override { return integer(call(Operation::entityCount)); }
    std::wstring setName() override { return text(call(Operation::setName)); }
    void emptySet() override { call(Operation::emptySet); }
    void selectWithFilter(std::int32_t mode, const CadPoint* corner1, const CadPoint* corner2,
                          const SelectionFilter* filter) override {
        ValueList args{mode, corner1 ? pointArgument(*corner1) : Omitted{},
                       corner2 ? pointArgument(*corner2) : Omitted{}, Omitted{}, Omitted{}};
        if (filter) {
            args[3] = filter->codes;
            ValueList values(filter->values.begin(), filter->values.end());
            args[4] = std::move(values);
        }
        call(Operation::selectWithFilter, args);
    }
    void discardSet() override { call(Operation::discardSet); }
    void measureExtents(CadPoint& lowerLeft, CadPoint& upperRight) override {
        corners(Operation::measureExtents, lowerLeft, upperRight);
    }
};

class LateSelectionSets final : public CadSelectionSets, LateBound {
public:
    explicit LateSelectionSets(DispatchPtr o) : LateBound(std::move(o), SelectionSets) {}
    std::unique_ptr<CadSelectionSet> setAt(std::int32_t index) override {
        return std::make_unique<LateSelectionSet>(object(call(Operation::setAt, {index})));
    }
    std::int32_t setCount() override { return integer(call(Operation::setCount)); }
    std::unique_ptr<CadSelectionSet> addSet(const std::wstring& name) override {
        return std::make_unique<LateSelectionSet>(object(call(Operation::addSet, {name})));
    }
};

class LateUtility final : public CadUtility, LateBound {
public:
    explicit LateUtility(DispatchPtr o) : LateBound(std::move(o), Utility) {}
    double promptDistance(const std::wstring& prompt) override {
        return number(call(Operation::promptDistance, {Omitted{}, prompt}));
    }
    CadPoint promptPoint(const std::wstring& prompt) override { return point(call(Operation::promptPoint, {Omitted{}, prompt})); }
};

class LateLayout final : public CadLayout, LateBound {
public:
    explicit LateLayout(DispatchPtr o) : LateBound(std::move(o), Layout) {}
    void setDevice(const std::wstring& name) override { call(Operation::setDevice, {name}); }
    void setMedia(const std::wstring& name) override { call(Operation::setMedia, {name}); }
    void setPaperUnitKind(std::int32_t kind) override { call(Operation::setPaperUnitKind, {kind}); }
    void setSheetRotation(std::int32_t rotation) override { call(Operation::setSheetRotation, {rotation}); }
    void setCentreOnPaper(bool centre) override { call(Operation::setCentreOnPaper, {centre}); }
    void setPlotAreaKind(std::int32_t kind) override { call(Operation::setPlotAreaKind, {kind}); }
    void setUseListedScale(bool use) override { call(Operation::setUseListedScale, {use}); }
    void setScaleRatio(double paperUnits, double drawingUnits) override {
        call(Operation::setScaleRatio, {paperUnits, drawingUnits});
    }
    void setLineWeightScaling(bool scale) override { call(Operation::setLineWeightScaling, {scale}); }
    void setPrintLineWeights(bool print) override { call(Operation::setPrintLineWeights, {print}); }
    std::wstring styleTableName() override { return text(call(Operation::styleTableName)); }
    void setStyleTable(const std::wstring& name) override { call(Operation::setStyleTable, {name}); }
    void setPlotWindow(const CadPoint& corner1, const CadPoint& corner2) override {
        call(Operation::setPlotWindow, {pointArgument(corner1), pointArgument(corner2)});
    }
    void setApplyStyleTable(bool apply) override { call(Operation::setApplyStyleTable, {apply}); }
    StringList mediaList() override { return list(call(Operation::mediaList)); }
    StringList deviceList() override { return list(call(Operation::deviceList)); }
    StringList styleTableList() override { return list(call(Operation::styleTableList)); }
    void reloadDeviceInfo() override { call(Operation::reloadDeviceInfo); }
    std::wstring mediaDisplayName(const std::wstring& media) override {
        return text(call(Operation::mediaDisplayName, {media}));
    }
};

class LatePlot final : public CadPlot, LateBound {
public:
    explicit LatePlot(DispatchPtr o) : LateBound(std::move(o), Plot) {}
    void setCopyCount(std::int32_t copies) override { call(Operation::setCopyCount, {copies}); }
    bool runPlot() override { return boolean(call(Operation::runPlot, {Omitted{}})); }
    bool plotToFile(const std::wstring& fullName) override {
        return boolean(call(Operation::plotToFile, {fullName, Omitted{}}));
    }
};

class LateDocument final : public CadDocument, LateBound {
public:
    LateDocument(DispatchPtr o, std::wstring plotInterfaceId)
        : LateBound(std::move(o), Document), plotInterfaceId_(std::move(plotInterfaceId)) {}
    std::unique_ptr<CadPlot> plotService() override {
        DispatchPtr plot = object(call(Operation::plotService));
        return std::make_unique<LatePlot>(plotInterfaceId_.empty() ? plot : plot->queryInterface(plotInterfaceId_));
    }
    std::unique_ptr<CadSelectionSets> selectionSetCollection() override {
        return std::make_unique<LateSelectionSets>(object(call(Operation::selectionSetCollection)));
    }
    std::unique_ptr<CadSelectionSet> documentSelectionSet() override {
        return std::make_unique<LateSelectionSet>(object(call(Operation::documentSelectionSet)));
    }
    std::unique_ptr<CadUtility> inputUtility() override {
        return std::make_unique<LateUtility>(object(call(Operation::inputUtility)));
    }
    Value readSysVar(const std::wstring& name) override { return call(Operation::readSysVar, {name}); }
    void writeSysVar(const std::wstring& name, const Value& value) override { call(Operation::writeSysVar, {name, value}); }
    std::unique_ptr<CadLayout> currentLayout() override {
        return std::make_unique<LateLayout>(object(call(Operation::currentLayout)));
    }
    std::intptr_t documentWindowHandle() override { return integer(call(Operation::documentWindowHandle)); }
    std::wstring drawingFolder() override { return text(call(Operation::drawingFolder)); }
    std::wstring drawingName() override { return text(call(Operation::drawingName)); }

private:
    std::wstring plotInterfaceId_;
};

class LateApplication final : public CadApplication, LateBound {
public:
    LateApplication(DispatchPtr o, std::wstring plotInterfaceId)
        : LateBound(std::move(o), Application), plotInterfaceId_(std::move(plotInterfaceId)) {}
    std::unique_ptr<CadDocument> currentDocument() override {
        return std::make_unique<LateDocument>(object(call(Operation::currentDocument)), plotInterfaceId_);
    }
    void showWholeDrawing() override { call(Operation::showWholeDrawing); }
    void showAreaInView(const CadPoint& corner1, const CadPoint& corner2) override {
        call(Operation::showAreaInView, {pointArgument(corner1), pointArgument(corner2)});
    }
    void showPreviousView() override { call(Operation::showPreviousView); }
    std::intptr_t mainWindowHandle() override { return integer(call(Operation::mainWindowHandle)); }

private:
    std::wstring plotInterfaceId_;
};

}  // namespace

std::unique_ptr<CadApplication> wrapApplication(DispatchPtr application, std::wstring plotInterfaceId) {
    return std::make_unique<LateApplication>(std::move(application), std::move(plotInterfaceId));
}

}  // namespace cad
