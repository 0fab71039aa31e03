#pragma once

#include "core/failure.h"

#include <optional>
#include <utility>
#include <variant>

// The two result shapes of the core. A command that only succeeds or fails
// returns a Status: empty on success, else the failure, so that
//     if (auto failure = save()) return failure;
// reads naturally. One that produces something returns a Result<T>.
using Status = std::optional<Failure>;

template <typename T> class [[nodiscard]] Result {
  public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Failure failure) : m_state(std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // Only when !ok().
    const Failure& failure() const { return std::get<1>(m_state); }
    // Empty when ok(), else the failure.
    Status status() const { return ok() ? Status() : Status(failure()); }

  private:
    std::variant<T, Failure> m_state;
};
