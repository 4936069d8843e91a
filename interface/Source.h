#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// An opened data source; an opaque token to the host.
class Source {
public:
    virtual ~Source() = default;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
