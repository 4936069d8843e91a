#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// An opened data source; an opaque token to the host.
/// selectSource makes it and hands it out as sourceHandle_t (std::shared_ptr); the
/// reader that getPathDataReader makes from it holds it too. getPathDataReader
/// refuses an empty handle (32961) and a Source of another plug-in (32962) with an
/// Exception*. Use it from one thread.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class Source {
public:
    virtual ~Source() = default;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
