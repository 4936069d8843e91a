#include "tools/hostmodel/RecordFields.h"

#include <cstring>

namespace hostmodel {

std::string fromBuffer(const char *buffer, size_t size) {
    return std::string(buffer, strnlen(buffer, size - 1));
}

} // namespace hostmodel
