#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// Base of every record object.
// The declared order of the virtual functions, the destructor first, is the
// host's vtable slot order: never reorder, remove or insert one. The record
// interfaces continue these slots, so Access cannot grow without moving theirs.
class Access {
public:
    virtual ~Access() = default;
    /// @return the write state of the record (0 unchanged, 1 new, 2 modified,
    /// 3 deleted, 4 write); the plug-in's records answer 4.
    virtual int getState() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
