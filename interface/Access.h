#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// Base of every record interface: one library, folder, part, part definition
/// or detail row, or one catalog of a data source (PathData).
/// The plug-in's readers hand records out in std::shared_ptr; the last pointer
/// frees one. Each is an immutable snapshot of one result row, taken when the
/// record was made, and stays valid after its reader is gone. Getters that read
/// further (a folder, a definition, a new reader) query the database when called.
/// A host implements the record interfaces that the writers read to hand them
/// records of its own.
/// Every call runs on the caller's thread and nothing is synchronised: use a
/// record from one thread. Text getters refuse a null buffer with an Exception*
/// (32964).
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one. The record
/// interfaces continue these slots, so Access cannot grow without moving theirs.
class Access {
public:
    virtual ~Access() = default;
    /// @return the write state of the record (0 unchanged, 1 new, 2 modified,
    /// 3 deleted, 4 write); the plug-in's records answer 4.
    virtual int getState() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
