// Reference rules of ComPtr and Owned, checked with counting fakes.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <utility>

#include "cad/com_ptr.h"

namespace {

using cad::com::ComPtr;
using cad::com::Owned;

constexpr long kNoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr long kPointer = static_cast<std::int32_t>(0x80004003u);

struct FakeIid {
    int id;
};

// A COM-like object whose reference count the test reads; it lives on the stack.
struct FakeUnknown {
    int refs = 0;
    int releases = 0;
    bool offersOther = true;
    virtual ~FakeUnknown() = default;
    unsigned long AddRef() { return static_cast<unsigned long>(++refs); }
    unsigned long Release() {
        ++releases;
        return static_cast<unsigned long>(--refs);
    }
    long QueryInterface(const FakeIid& iid, void** out);
};

struct FakeOther : FakeUnknown {};

long FakeUnknown::QueryInterface(const FakeIid& iid, void** out) {
    *out = nullptr;
    if (iid.id != 2 || !offersOther) return kNoInterface;
    *out = static_cast<FakeOther*>(this);
    AddRef();
    return 0;
}

}  // namespace

template <>
struct cad::com::InterfaceIdOf<FakeOther> {
    static FakeIid value() { return {2}; }
};

namespace {

TEST(ComPtr, SharingARawPointerAddsAReferenceAndDestructionReleasesIt) {
    FakeOther object;
    object.refs = 1;  // the caller's own reference
    {
        ComPtr<FakeUnknown> p(&object);
        EXPECT_EQ(object.refs, 2);
        EXPECT_EQ(p.get(), &object);
    }
    EXPECT_EQ(object.refs, 1);
}

TEST(ComPtr, AdoptTakesOverTheCallersReference) {
    FakeOther object;
    object.refs = 1;
    { auto p = ComPtr<FakeUnknown>::adopt(&object); EXPECT_EQ(object.refs, 1); }
    EXPECT_EQ(object.refs, 0);
}

TEST(ComPtr, CopyAddsAReferenceAndCopyAssignmentReleasesTheOldObject) {
    FakeOther a, b;
    a.refs = b.refs = 1;
    auto pa = ComPtr<FakeUnknown>::adopt(&a);
    auto pb = ComPtr<FakeUnknown>::adopt(&b);
    ComPtr<FakeUnknown> copy(pa);
    EXPECT_EQ(a.refs, 2);
    copy = pb;
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(b.refs, 2);
    copy = copy;  // self-assignment keeps the count
    EXPECT_EQ(b.refs, 2);
    ComPtr<FakeUnknown> fromDerived = ComPtr<FakeOther>(static_cast<FakeOther*>(&a));
    EXPECT_EQ(a.refs, 2);
}

TEST(ComPtr, MoveStealsTheReferenceAndMoveAssignmentReleasesTheTargetsObject) {
    FakeOther a, b;
    a.refs = b.refs = 1;
    auto pa = ComPtr<FakeUnknown>::adopt(&a);
    ComPtr<FakeUnknown> moved(std::move(pa));
    EXPECT_FALSE(pa);
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(a.releases, 0);
    auto pb = ComPtr<FakeUnknown>::adopt(&b);
    pb = std::move(moved);
    EXPECT_EQ(b.refs, 0);
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(pb.get(), &a);
    EXPECT_FALSE(moved);
}

TEST(ComPtr, PutReleasesTheOldPointerBeforeHandingOutTheAddress) {
    FakeOther a, b;
    a.refs = 1;
    auto p = ComPtr<FakeUnknown>::adopt(&a);
    FakeUnknown** slot = p.put();
    EXPECT_EQ(a.refs, 0);
    EXPECT_EQ(*slot, nullptr);
    b.refs = 1;
    *slot = &b;  // as a function returning a new reference would
    p.reset();
    EXPECT_EQ(b.refs, 0);
}

TEST(ComPtr, DetachGivesUpTheReferenceAndCopyOutAddsOne) {
    FakeOther a;
    a.refs = 1;
    auto p = ComPtr<FakeUnknown>::adopt(&a);
    FakeUnknown* out = p.copyOut();
    EXPECT_EQ(out, &a);
    EXPECT_EQ(a.refs, 2);
    FakeUnknown* raw = p.detach();
    EXPECT_FALSE(p);
    EXPECT_EQ(raw, &a);
    EXPECT_EQ(a.refs, 2);
}

TEST(ComPtr, QueryReturnsTheResultAndHoldsOneNewReference) {
    FakeOther a;
    a.refs = 1;
    auto p = ComPtr<FakeUnknown>::adopt(&a);
    ComPtr<FakeOther> other;
    EXPECT_EQ(p.query(other), 0);
    EXPECT_EQ(other.get(), &a);
    EXPECT_EQ(a.refs, 2);

    // A refused query empties the out pointer, releasing what it held.
    a.offersOther = false;
    EXPECT_EQ(p.query(other), kNoInterface);
    EXPECT_FALSE(other);
    EXPECT_EQ(a.refs, 1);

    ComPtr<FakeUnknown> empty;
    EXPECT_EQ(empty.query(FakeIid{2}, other), kPointer);
}

// Owned values: a counting traits type standing in for BSTR/VARIANT/SAFEARRAY*.
struct CountingTraits {
    using Type = int;  // 0 is empty; anything else is a live value
    static inline std::map<int, int> live;
    static inline int next = 100;
    static int empty() { return 0; }
    static void release(int v) {
        if (v != 0 && --live[v] == 0) live.erase(v);
    }
    static int copy(int v) {
        if (v == 0) return 0;
        ++live[++next];
        return next;
    }
    static int make() { return copy(1); }
};
using Counted = Owned<CountingTraits>;

TEST(Owned, EveryValueIsReleasedExactlyOnceWhateverTheRoute) {
    CountingTraits::live.clear();
    {
        Counted a = Counted::adopt(CountingTraits::make());
        Counted copy(a);  // a second value of its own
        EXPECT_NE(copy.get(), a.get());
        Counted moved(std::move(a));  // moving makes nothing new
        EXPECT_EQ(a.get(), 0);
        EXPECT_EQ(CountingTraits::live.size(), 2u);
        copy = moved;  // the old copy is released
        EXPECT_EQ(CountingTraits::live.size(), 2u);
        *moved.put() = CountingTraits::make();  // put released the value first
        EXPECT_EQ(CountingTraits::live.size(), 2u);
        int taken = copy.detach();
        EXPECT_EQ(copy.get(), 0);
        CountingTraits::release(taken);
        EXPECT_EQ(CountingTraits::live.size(), 1u);
    }
    EXPECT_TRUE(CountingTraits::live.empty());
}

}  // namespace
