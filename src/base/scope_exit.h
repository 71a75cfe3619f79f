// Runs a function when the scope ends, however it ends: the one scope guard.
#pragma once

#include <functional>
#include <utility>

namespace base {

class ScopeExit {
public:
    ScopeExit() = default;  // runs nothing, until something is assigned
    explicit ScopeExit(std::function<void()> atExit) : atExit_(std::move(atExit)) {}
    ~ScopeExit() {
        if (atExit_) atExit_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    // Takes over what `other` would run; what this one held is dropped without running.
    ScopeExit& operator=(ScopeExit&& other) noexcept {
        atExit_ = std::exchange(other.atExit_, nullptr);
        return *this;
    }

private:
    std::function<void()> atExit_;
};

}  // namespace base
