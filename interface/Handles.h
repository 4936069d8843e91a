#pragma once

#include "interface/Path.h"
#include "interface/Reader.h"
#include "interface/Source.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class LibFilter;
class PartDefFilter;
class PartFilter;
template <class T> class Component;
class HierarchyAccess;
class LibraryAccess;

/// Polled by a writer before each next record; true stops the write.
typedef bool (*CANCEL_CALLBACK)();

using sourceHandle_t = std::shared_ptr<Source>;
using pathHandle_t = std::shared_ptr<Path>;
using libraryFilterCompHandle_t = std::shared_ptr<Component<LibFilter>>;
using partFilterCompHandle_t = std::shared_ptr<Component<PartFilter>>;
using partDefFilterHandle_t = std::shared_ptr<PartDefFilter>;
using partFilterHandle_t = std::shared_ptr<PartFilter>;
using hierarchyAccessHandle_t = std::shared_ptr<HierarchyAccess>;
using libraryReaderHandle_t = std::shared_ptr<Reader<LibraryAccess>>;

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
