#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// Base of every record object.
class Access {
public:
    virtual ~Access() = default;
    // The write state of the record (0 to 4); database records answer 4.
    virtual int getState() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
