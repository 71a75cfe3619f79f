// The attribute references of a block reference: one object per attribute value of the
// insert, answering its tag and its text.
#include "sim/model/args.h"
#include "sim/model/host_state.h"

namespace sim {
namespace {

class AttributeObject final : public Object {
public:
    AttributeObject(std::shared_ptr<State> s, std::size_t insert, std::size_t index)
        : Object(std::move(s), cad::ObjectKind::Attribute), insert_(insert), index_(index) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        Args args(m, list);
        const AttributeValue& value = state().drawing.inserts[insert_].attributes[index_];
        switch (m.operation) {
            case attributeTag:
                args.count(0, 0);
                return value.tag;
            case attributeText:
                args.count(0, 0);
                return value.text;
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }

    std::size_t insert_, index_;
};

}  // namespace

std::vector<cad::DispatchPtr> makeAttributes(const std::shared_ptr<State>& s, std::size_t insert) {
    std::vector<cad::DispatchPtr> out;
    for (std::size_t i = 0; i < s->drawing.inserts[insert].attributes.size(); ++i)
        out.push_back(std::make_shared<AttributeObject>(s, insert, i));
    return out;
}

}  // namespace sim
