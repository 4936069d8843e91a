#pragma once

// The fuzz targets' check of host-model libraries that a reader declared
// fit for writing: every text within its column, no name used twice where
// the database keeps names unique.

#include "tools/hostmodel/HostLibrary.h"

#include <vector>

namespace fuzzsupport {

// `partsNameTheirDefinition`: every part's definition is in its own library.
void checkStorable(const std::vector<hostmodel::Library> &libraries, bool partsNameTheirDefinition);

} // namespace fuzzsupport
