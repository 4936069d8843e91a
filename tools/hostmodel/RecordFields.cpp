#include "tools/hostmodel/RecordFields.h"

#include <cstring>

namespace hostmodel {

std::string fromBuffer(const char *buffer, size_t width) {
    return std::string(buffer, strnlen(buffer, width - 1));
}

} // namespace hostmodel
