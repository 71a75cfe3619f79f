// Helpers for the stand-in host's tests: calls by member name, small drawings, files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cad/value.h"
#include "sim/model/drawing.h"
#include "sim/model/host.h"
#include "sim/model/text_codec.h"

namespace simtest {

using cad::CallKind;
using cad::DispatchPtr;
using cad::Value;
using cad::ValueList;
using sim::Entity;
using sim::EntityType;
using sim::Vec2;

inline Value call(const DispatchPtr& o, std::wstring_view member, ValueList args = {}) {
    return o->invoke(member, CallKind::Method, args);
}
// A call whose out arguments are written back into `args`.
inline Value callOut(const DispatchPtr& o, std::wstring_view member, ValueList& args) {
    return o->invoke(member, CallKind::Method, args);
}
inline Value get(const DispatchPtr& o, std::wstring_view member) {
    ValueList none;
    return o->invoke(member, CallKind::Get, none);
}
inline void put(const DispatchPtr& o, std::wstring_view member, Value value) {
    ValueList args{std::move(value)};
    o->invoke(member, CallKind::Put, args);
}
inline DispatchPtr object(const Value& v) {
    const DispatchPtr* p = v.get<DispatchPtr>();
    if (!p || !*p) throw std::runtime_error("the result is not an object");
    return *p;
}
template <typename T>
T as(const Value& v) {
    const T* p = v.get<T>();
    if (!p) throw std::runtime_error("the result has another type");
    return *p;
}
// The text of the host error the call throws ("" when it does not throw).
template <typename F>
std::wstring errorOf(F&& f) {
    try {
        f();
    } catch (const cad::CadError& e) {
        return e.text();
    }
    return L"";
}
inline std::string utf8(std::wstring_view text) { return sim::encodeUtf8(text); }
inline bool contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

inline Entity polyline(std::wstring layer, std::vector<Vec2> points, bool closed,
                       EntityType type = EntityType::LwPolyline) {
    Entity e;
    e.type = type;
    e.layer = std::move(layer);
    e.points = std::move(points);
    e.closed = closed;
    if (type == EntityType::Polyline) e.z.assign(e.points.size(), 0.0);
    return e;
}
inline Entity rectangle(std::wstring layer, double x0, double y0, double x1, double y1) {
    return polyline(std::move(layer), {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
}
inline Entity line(std::wstring layer, Vec2 a, Vec2 b) {
    Entity e;
    e.type = EntityType::Line;
    e.layer = std::move(layer);
    e.points = {a, b};
    return e;
}
inline Entity circle(std::wstring layer, Vec2 c, double r) {
    Entity e;
    e.type = EntityType::Circle;
    e.layer = std::move(layer);
    e.points = {c};
    e.radius = r;
    return e;
}
inline sim::Drawing drawingOf(std::vector<Entity> entities, double dimscale = 1) {
    sim::Drawing d;
    d.entities = std::move(entities);
    d.dimscale = dimscale;
    return d;
}

// The host with its application and document at hand.
struct Session {
    explicit Session(sim::Drawing drawing, sim::Options options = {})
        : host(std::move(drawing), std::move(options)),
          app(host.application()),
          doc(object(get(app, L"ActiveDocument"))) {}
    DispatchPtr newSet(const std::wstring& name) {
        return object(call(object(get(doc, L"SelectionSets")), L"Add", {name}));
    }
    sim::Host host;
    DispatchPtr app, doc;
};

// A fresh folder under the system's temporary folder, removed at the end.
// Fault rules written as one text, "Select@1,Closed@2"; none for "".
inline std::vector<std::string> splitRules(const std::string& rules) {
    std::vector<std::string> out;
    for (std::size_t from = 0; from < rules.size();) {
        const std::size_t comma = std::min(rules.find(',', from), rules.size());
        out.push_back(rules.substr(from, comma - from));
        from = comma + 1;
    }
    return out;
}

struct TempDir {
    TempDir() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() / ("quillon-sim-" + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path operator/(const char* name) const { return path / name; }
    std::filesystem::path path;
};

inline std::vector<std::string> readLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace simtest
