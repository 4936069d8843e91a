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
class PartDefAccess;
class PartAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace hostmodel {

// Raises what the records raise; a reader a record does not offer counts as
// empty.
Library snapshot(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library);

// A definition's own columns, without its details; a part's own columns,
// without its folder and definition.
PartDefinition definitionFields(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefAccess &record);
Part partFields(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartAccess &record);

} // namespace hostmodel
