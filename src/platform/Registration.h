// The end of a registration with a platform service (an event-loop watch, a
// timer, a termination handler) tied to an object's life, so no callback can
// outlive the code it calls.
#pragma once

#include <functional>
#include <utility>

namespace ratiscope {

// Holds the call that ends one registration and makes it when this object
// ends, is reset or is overwritten by a move.
class TRegistration {
public:
    TRegistration() = default;
    explicit TRegistration(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    TRegistration(TRegistration&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    TRegistration& operator=(TRegistration&& other) noexcept {
        if (this != &other) {
            Reset();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    ~TRegistration() { Reset(); }
    TRegistration(const TRegistration&) = delete;
    TRegistration& operator=(const TRegistration&) = delete;

    // Ends the registration now; nothing when there is none.
    void Reset() {
        if (auto cancel = std::exchange(cancel_, nullptr)) cancel();
    }
    // Whether it has not been ended here: a posted call that ran still counts
    // until its handle is reset, which the call itself may do.
    bool Active() const { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

}  // namespace ratiscope
