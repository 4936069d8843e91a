#include "ctraxdbpartlib/hostservices/HostInternal.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cstdlib>
#include <cstring>

char *mallocString(size_t length) {
    char *buffer = static_cast<char *>(std::malloc(length + 1));
    if (buffer)
        buffer[0] = '\0';
    return buffer;
}

void freeMem(void *pointer) {
    std::free(pointer);
}

namespace hostservices_detail {

char *hostStringCopy(const std::string &text) {
    char *copy = mallocString(text.size());
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

} // namespace hostservices_detail
