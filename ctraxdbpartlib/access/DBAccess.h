#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Base of every database record over its record interface T: a record read
// from the database is always written back as state 4 (find, then update or
// insert).
template <class T> class DBAccess : public T {
public:
    int getState() override { return 4; }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
