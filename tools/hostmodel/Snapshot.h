#pragma once

// A whole library read into the host model: its folder tree, its part
// definitions with every detail through the per-definition readers, and its
// parts with their folder paths and definition names. Each item keeps the
// state its reader reports for it. Works on any LibraryAccess, the
// database's own records or a host's:
//
//   hostmodel::Library stored = hostmodel::snapshot(*db.library("Demo"));
//   EXPECT_TRUE(stored == written);

#include "tools/hostmodel/HostLibrary.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace hostmodel {

// Raises what the records raise; a reader a record does not offer counts as
// empty.
Library snapshot(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library);

} // namespace hostmodel
