#include "tools/hostmodel/RecordFields.h"

#include <cstring>

namespace hostmodel {

std::string fromBuffer(const char *buffer, size_t width) {
    std::string text(buffer, strnlen(buffer, width - 1));
    if (text.size() == width - 1) {
        size_t lead = text.size(); // index of the last byte that is no continuation byte
        while (lead > 0 && (static_cast<unsigned char>(text[--lead]) & 0xC0) == 0x80 && text.size() - lead < 4) {
        }
        const unsigned char c = static_cast<unsigned char>(text[lead]);
        const size_t expected = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (text.size() - lead < expected)
            text.resize(lead);
    }
    return text;
}

} // namespace hostmodel
