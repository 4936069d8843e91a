#include "ctraxdbpartlib/connection/DBField.h"

#include "ctraxdbpartlib/CTraxDBError.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace getter {

void checkBuffer(const TCHAR *buffer, size_t size, size_t width) {
    if (buffer == nullptr)
        TXDB_RAISE(IDS_NULL_BUFFER);
    if (size < width)
        TXDB_RAISE(IDS_BUFFER_TOO_SMALL);
}

void copyInto(const char *text, TCHAR *buffer, size_t size) {
    size_t length = std::strlen(text);
    if (length >= size) {
        length = size - 1;
        // Back to the start of the character that does not fit.
        const size_t most = length;
        while (length > 0 && most - length < 3 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace getter
} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
