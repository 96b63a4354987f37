#pragma once

#include <string>
#include <utility>

namespace morvi {

// The outcome of an operation that may end in a message to the user. The core never shows
// anything: it returns the exact text and the caller decides how to present it.
class Status {
public:
    Status() = default;
    static Status Ok() { return Status(); }
    static Status Fail(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !m_bFailed; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return m_strMessage; }

private:
    explicit Status(std::string message) : m_bFailed(true), m_strMessage(std::move(message)) {}

    bool m_bFailed = false;
    std::string m_strMessage;
};

} // namespace morvi
