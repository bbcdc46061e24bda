#pragma once

#include "Failure.h"

#include <utility>
#include <variant>

// Either a value or a Failure.
template <class T>
class Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T *operator->() const { return &std::get<0>(m_state); }
    const T &operator*() const { return std::get<0>(m_state); }

    const Failure &failure() const { return std::get<1>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

struct Success
{
    friend bool operator==(Success, Success) { return true; }
};

template <>
class Result<void>
{
public:
    Result() = default;
    Result(Success) {}
    Result(Failure failure) : m_failure(std::move(failure)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const { return m_failure; }

private:
    Failure m_failure;
    bool m_failed = false;
};
