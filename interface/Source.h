#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// An opened data source; an opaque token to the host.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class Source {
public:
    virtual ~Source() = default;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
