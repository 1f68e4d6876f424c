#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace quillet {

// Why an operation failed, in the user's words. An empty reason means
// there is nothing more to tell: the user was told already, or nothing
// went wrong that the user needs to hear of.
struct Failure {
    QString reason;
    QString path;  // the file it concerns, where an operation had several
};

inline Failure failure(QString reason = QString(), QString path = QString())
{
    return {std::move(reason), std::move(path)};
}

// The outcome of an operation that can fail: success, with its value where
// there is one, or a Failure. Dropping one is a mistake unless the code
// says so (std::ignore).
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: success reads as the value
    Result(Failure failed) : error_(std::move(failed.reason)) {}  // NOLINT

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const QString& error() const { return error_; }

private:
    std::optional<T> value_;
    QString error_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;     // success
    Result(Failure failed)  // NOLINT
        : ok_(false), error_(std::move(failed.reason)), path_(std::move(failed.path))
    {
    }

    bool ok() const { return ok_; }
    const QString& error() const { return error_; }
    const QString& failedPath() const { return path_; }

private:
    bool ok_ = true;
    QString error_;
    QString path_;
};

}  // namespace quillet
