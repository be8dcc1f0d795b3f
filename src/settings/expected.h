#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace mekuri {

// A failure with the text the user is shown in the standard error report.
struct Error {
    QString message;
};

// A value or the error that kept it from being made. File I/O and parsers
// return this; command handlers turn an error into one message box.
template <typename T>
class Expected {
public:
    Expected(T value) : m_value(std::move(value)) {}
    Expected(Error error) : m_error(std::move(error.message)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const QString& error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

// Success or an error, for operations without a result value.
class Status {
public:
    Status() = default;
    Status(Error error) : m_failed(true), m_error(std::move(error.message)) {}
    static Status success() { return {}; }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};

}  // namespace mekuri
