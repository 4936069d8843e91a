#pragma once

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// The one error type that crosses the plug-in boundary. It is always thrown
/// as a pointer to a new object; whoever catches it owns and deletes it.
/// It is thrown on the caller's thread, out of the call that failed; no call
/// returns an error code. The one other exception is std::out_of_range from
/// Subject::getObserver.
/// An empty message means the user has already been told, or chose not to go on.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class Exception {
public:
    explicit Exception(const std::string &text) : message(text) {}
    explicit Exception(const char *text) : message(text ? text : "") {}
    virtual ~Exception() = default;

    /// @return the message; empty when the user was told already or chose
    /// not to go on: show nothing then.
    const std::string &getMessage() const { return message; }

    std::string message;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
