// ASCII DXF, R12 and later: the header variables the stand-in needs, block definitions
// and the model-space entities, with block inserts expanded.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "sim/model/dxf_internal.h"
#include "sim/model/geometry.h"
#include "sim/model/text_codec.h"

namespace sim {

namespace {

std::string describe(const std::filesystem::path& file, std::size_t line, const std::string& reason) {
    auto u8 = file.u8string();
    std::string name(u8.begin(), u8.end());
    if (line == 0) return name + ": " + reason;
    return name + ", line " + std::to_string(line) + ": " + reason;
}

}  // namespace

DxfError::DxfError(const std::filesystem::path& f, std::size_t l, const std::string& reason)
    : std::runtime_error(describe(f, l, reason)), file(f), line(l) {}

namespace dxf {
namespace {

// Expanding nested inserts multiplies; past this many entities, or blocks nested this
// deep, a drawing is refused rather than exhausting memory or the stack.
constexpr std::size_t kMaxEntities = 1'000'000;
constexpr std::size_t kMaxNesting = 64;
// How far from the origin a drawing may reach once its inserts are placed: beyond any
// real drawing, and near enough that its extents, its views and the arcs of its bulges
// stay finite numbers.
constexpr double kMaxCoordinate = 1e100;

bool withinReach(const Entity& e) {
    const auto near = [](double v) { return std::abs(v) <= kMaxCoordinate; };  // false for NaN
    if (!near(e.radius) || !near(e.textHeight) || !near(e.boxWidth)) return false;
    for (Vec2 p : e.points)
        if (!near(p.x) || !near(p.y)) return false;
    const std::size_t n = e.points.size();
    for (std::size_t i = 0; i < n && i < e.bulges.size(); ++i) {
        const Vec2 a = e.points[i], b = e.points[i + 1 < n ? i + 1 : 0];
        if (e.bulges[i] == 0 || (i + 1 == n && !e.closed) || (a.x == b.x && a.y == b.y)) continue;
        const Arc arc = bulgeArc(a, b, e.bulges[i]);
        if (!near(arc.centre.x) || !near(arc.centre.y) || !near(arc.radius)) return false;
    }
    return true;
}

std::wstring blockKey(const std::wstring& name) {
    std::wstring key;
    for (char32_t c : toCodePoints(name)) key += fromCodePoints(std::u32string(1, foldCase(c)));
    return key;
}

class Reader {
public:
    Reader(const Groups& groups) : g_(groups) {}

    Drawing read() {
        std::size_t i = 0;
        while (i < g_.size()) {
            const Group& group = g_[i];
            if (isCode0(group, "EOF")) break;
            if (!isCode0(group, "SECTION"))
                g_.fail(group.line, "expected a SECTION, found group " + std::to_string(group.code) + " \"" +
                                        std::string(trimmed(group.value)) + "\"");
            if (i + 1 >= g_.size() || g_[i + 1].code != 2) g_.fail(group.line + 2, "a SECTION needs its name (group 2)");
            std::string name(trimmed(g_[i + 1].value));
            i += 2;
            if (name == "HEADER") i = header(i);
            else if (name == "BLOCKS") i = blocks(i);
            else if (name == "ENTITIES") i = entities(i, modelSpace_);
            else i = skipSection(i, name);
            ++i;  // ENDSEC
        }
        expandModelSpace();
        drawing_.dimscale = dimscale_;
        return std::move(drawing_);
    }

private:
    std::size_t sectionEnd(std::size_t i, const std::string& name) const {
        if (i >= g_.size() || isCode0(g_[i], "EOF"))
            g_.fail(i < g_.size() ? g_[i].line : g_.endLine(),
                    "unexpected end of file: the " + name + " section has no ENDSEC");
        return i;
    }

    std::size_t skipSection(std::size_t i, const std::string& name) {
        while (sectionEnd(i, name) < g_.size() && !isCode0(g_[i], "ENDSEC")) ++i;
        return i;
    }

    std::size_t header(std::size_t i) {
        std::string variable;
        for (; !isCode0(g_[sectionEnd(i, "HEADER")], "ENDSEC"); ++i) {
            const Group& group = g_[i];
            if (group.code == 9) variable = std::string(trimmed(group.value));
            else if (variable == "$ACADVER" && group.code == 1) decode_ = TextDecoder(trimmed(group.value) >= "AC1021");
            else if (variable == "$DIMSCALE" && group.code == 40) dimscale_ = g_.number(group);
        }
        return i;
    }

    std::size_t blocks(std::size_t i) {
        while (!isCode0(g_[sectionEnd(i, "BLOCKS")], "ENDSEC")) {
            if (!isCode0(g_[i], "BLOCK")) {  // stray records between blocks
                ++i;
                while (i < g_.size() && g_[i].code != 0) ++i;
                continue;
            }
            Block block;
            std::size_t j = i + 1;
            for (; j < g_.size() && g_[j].code != 0; ++j) {
                const Group& group = g_[j];
                if (group.code == 2) block.name = decode_(group.value);
                else if (group.code == 10) block.base.x = g_.number(group);
                else if (group.code == 20) block.base.y = g_.number(group);
            }
            i = entities(j, block.items, "ENDBLK");
            if (!isCode0(g_[i], "ENDBLK")) g_.fail(g_[i].line, "block \"" + encodeUtf8(block.name) + "\" has no ENDBLK");
            while (++i < g_.size() && g_[i].code != 0) {}
            blocks_[blockKey(block.name)] = std::move(block);
        }
        return i;
    }

    // Entity records up to ENDSEC (or `stop`, for a block's contents).
    std::size_t entities(std::size_t i, std::vector<Item>& into, const char* stop = nullptr) {
        const char* section = stop ? "BLOCKS" : "ENTITIES";
        while (!isCode0(g_[sectionEnd(i, section)], "ENDSEC") && !(stop && isCode0(g_[i], stop))) {
            if (g_[i].code != 0) g_.fail(g_[i].line, "expected an entity (group 0), found group " + std::to_string(g_[i].code));
            std::size_t next = i;
            if (auto item = readEntity(g_, i, next, decode_)) into.push_back(std::move(*item));
            i = next;
        }
        return i;
    }

    void expandModelSpace() {
        for (Item& item : modelSpace_) {
            if (!item.insert) {
                mustBeWithinReach(item.entity, item.line);
                drawing_.entities.push_back(std::move(item.entity));
                continue;
            }
            Insert insert{item.entity.layer, item.insert->block, item.insert->position, drawing_.entities.size(), 0,
                          item.insert->rotation, item.insert->values};
            long index = static_cast<long>(drawing_.inserts.size());
            std::size_t first = drawing_.entities.size();
            insertLine_ = item.line;
            if (first + expandedSize(item, 0) > kMaxEntities)
                g_.fail(item.line, "block inserts expand to more than " + std::to_string(kMaxEntities) + " entities");
            expand(item, Affine{}, item.entity.layer);
            insert.count = drawing_.entities.size() - first;
            for (std::size_t k = first; k < drawing_.entities.size(); ++k) {
                drawing_.entities[k].selectable = false;
                drawing_.entities[k].insert = index;
            }
            drawing_.inserts.push_back(std::move(insert));
        }
    }

    // Adds the entities of one insert, mapped by `outer` into model space. Entities on
    // layer "0" inside a block take the layer of the insert that places them.
    void expand(const Item& item, const Affine& outer, const std::wstring& layer) {
        const InsertRef& ref = *item.insert;
        for (Entity attribute : ref.attributes) {
            transformEntity(attribute, outer);
            if (attribute.layer == L"0") attribute.layer = layer;
            add(std::move(attribute));
        }
        auto found = blocks_.find(blockKey(ref.block));
        if (found == blocks_.end()) return;  // nothing to draw
        const Block& block = found->second;
        // Nor does a block of no entities, or of inserts of such blocks, however many
        // times an array repeats it.
        if (block.items.empty()) return;
        if (auto size = sizes_.find(found->first); size != sizes_.end() && size->second == 0) return;
        if (!expanding_.insert(found->first).second)
            g_.fail(item.line, "block \"" + encodeUtf8(block.name) + "\" inserts itself");
        if (expanding_.size() > kMaxNesting)
            g_.fail(item.line, "blocks are nested more than " + std::to_string(kMaxNesting) + " deep");
        double t = ref.rotation * kPi / 180, c = std::cos(t), s = std::sin(t);
        long columns = std::max(1L, ref.columns), rows = std::max(1L, ref.rows);
        for (long row = 0; row < rows; ++row)
            for (long column = 0; column < columns; ++column) {
                double ox = column * ref.columnGap, oy = row * ref.rowGap;
                Affine place{ref.scaleX * c, -ref.scaleY * s, ref.scaleX * s, ref.scaleY * c,
                             ref.position.x + ox * c - oy * s, ref.position.y + ox * s + oy * c};
                Affine toBase{1, 0, 0, 1, -block.base.x, -block.base.y};
                Affine map = place * toBase;
                map = outer * ref.ocs * map;
                for (const Item& inner : block.items) {
                    const std::wstring& innerLayer = inner.entity.layer == L"0" ? layer : inner.entity.layer;
                    if (inner.insert) {
                        expand(inner, map, innerLayer);
                        continue;
                    }
                    Entity e = inner.entity;
                    transformEntity(e, map);
                    e.layer = innerLayer;
                    add(std::move(e));
                }
            }
        expanding_.erase(found->first);
    }

    // How many entities the insert expands to (at most kMaxEntities + 1), found before
    // any are made. Circular and too deeply nested blocks are refused here.
    std::size_t expandedSize(const Item& item, std::size_t depth) {
        const InsertRef& ref = *item.insert;
        std::size_t total = ref.attributes.size();
        auto found = blocks_.find(blockKey(ref.block));
        if (found == blocks_.end()) return total;
        if (depth >= kMaxNesting)
            g_.fail(item.line, "blocks are nested more than " + std::to_string(kMaxNesting) + " deep");
        auto known = sizes_.find(found->first);
        std::size_t each;
        if (known != sizes_.end()) {
            each = known->second;
        } else {
            if (!expanding_.insert(found->first).second)
                g_.fail(item.line, "block \"" + encodeUtf8(found->second.name) + "\" inserts itself");
            each = 0;
            for (const Item& inner : found->second.items)
                each = std::min(kMaxEntities + 1, each + (inner.insert ? expandedSize(inner, depth + 1) : 1));
            expanding_.erase(found->first);
            sizes_[found->first] = each;
        }
        double copies = double(std::max(1L, ref.columns)) * double(std::max(1L, ref.rows));
        return static_cast<std::size_t>(std::min(double(kMaxEntities + 1), double(total) + copies * double(each)));
    }

    void add(Entity e) {
        if (drawing_.entities.size() >= kMaxEntities)
            g_.fail(insertLine_, "block inserts expand to more than " + std::to_string(kMaxEntities) + " entities");
        mustBeWithinReach(e, insertLine_);
        drawing_.entities.push_back(std::move(e));
    }

    // `line`: the model-space record the entity is or comes from.
    void mustBeWithinReach(const Entity& e, std::size_t line) const {
        if (!withinReach(e)) g_.fail(line, "the drawing reaches further than 1e100 units from the origin here");
    }

    const Groups& g_;
    TextDecoder decode_;
    double dimscale_ = 1.0;
    std::map<std::wstring, Block> blocks_;
    std::set<std::wstring> expanding_;
    std::map<std::wstring, std::size_t> sizes_;  // expanded size of each block
    std::size_t insertLine_ = 0;  // the model-space insert being expanded
    std::vector<Item> modelSpace_;
    Drawing drawing_;
};

}  // namespace
}  // namespace dxf

Drawing readDxfText(const std::string& text, const std::filesystem::path& name) {
    dxf::Groups groups(text, name);
    Drawing drawing = dxf::Reader(groups).read();
    drawing.source = name;
    return drawing;
}

Drawing readDxf(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw DxfError(file, 0, "no such drawing file");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw DxfError(file, 0, "the drawing file cannot be opened");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return readDxfText(bytes.str(), file);
}

}  // namespace sim
