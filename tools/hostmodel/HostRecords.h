#pragma once

// The plug-in's record interfaces over the host model (HostLibrary.h): the
// readers a host hands to the library writers.
//
//   auto reader = hostmodel::libraryReader({library});
//   getLibraryWriter(path)->write(reader, noCancel);
//
// The records share the ownership of the libraries they come from, so any
// record or reader stays valid after the reader that made it is gone. A
// host model has no database keys: every getID and the like answer -1.

#include "tools/hostmodel/HostLibrary.h"

#include "interface/LibHierarchyOnlyAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/Reader.h"

#include <memory>
#include <vector>

namespace hostmodel {

// A reader over a list of records made in advance.
template <class T> class VectorReader : public COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<T> {
public:
    explicit VectorReader(std::vector<std::shared_ptr<T>> records) : records(std::move(records)) {}

    std::shared_ptr<T> getNext() override { return next < records.size() ? records[next++] : nullptr; }
    // The item's own state; -1 (no state a writer acts on) for no item.
    int getItemState(std::shared_ptr<T> item) override { return item ? item->getState() : -1; }
    int getCount() override { return static_cast<int>(records.size()); }

private:
    std::vector<std::shared_ptr<T>> records;
    size_t next = 0;
};

// Readers of the libraries, whole or as their folder trees and part placement.
std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess>>
libraryReader(std::vector<Library> libraries);
std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibHierarchyOnlyAccess>>
hierarchyOnlyReader(std::vector<Library> libraries);

} // namespace hostmodel
