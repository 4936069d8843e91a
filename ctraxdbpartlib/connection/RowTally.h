#pragma once

// The rows that the writes through one connection added, changed and
// removed, per table: what a write did, whatever other writers did to the
// same tables meanwhile.

#include <map>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

struct RowChanges {
    long added = 0;
    long changed = 0;
    long removed = 0;
};

// Table name -> its changes; tables without changes are absent.
using RowTally = std::map<std::string, RowChanges>;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
