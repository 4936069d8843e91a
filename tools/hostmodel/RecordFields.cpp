#include "tools/hostmodel/RecordFields.h"

#include <cstring>

namespace hostmodel {

std::string fromBuffer(const char *buffer, size_t size) {
    std::string text;
    assignFromBuffer(text, buffer, size);
    return text;
}

} // namespace hostmodel
