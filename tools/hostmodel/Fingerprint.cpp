#include "tools/hostmodel/Fingerprint.h"

#include <tuple>

namespace hostmodel {

namespace {

// FNV-1a over the bytes of the values, each value framed so that no two
// sequences of values give the same bytes.
class Hash {
public:
    uint64_t value = 14695981039346656037ULL;

    void bytes(const void *data, size_t size) {
        const auto *byte = static_cast<const unsigned char *>(data);
        for (size_t i = 0; i < size; ++i)
            value = (value ^ byte[i]) * 1099511628211ULL;
    }
    void add(uint64_t number) { bytes(&number, sizeof number); }
    void add(int number) { add(static_cast<uint64_t>(static_cast<int64_t>(number))); }
    void add(bool flag) { add(static_cast<uint64_t>(flag)); }
    void add(const std::string &text) {
        add(static_cast<uint64_t>(text.size()));
        bytes(text.data(), text.size());
    }
    template <class T> void add(const std::optional<T> &value) {
        add(value.has_value());
        if (value)
            add(*value);
    }
    template <class T> void add(const std::vector<T> &items) {
        add(static_cast<uint64_t>(items.size()));
        for (const T &item : items)
            add(item);
    }
    template <class T> auto add(const T &item) -> decltype(item.fields(), void()) {
        std::apply([this](const auto &...field) { (add(field), ...); }, item.fields());
    }
};

} // namespace

uint64_t fingerprint(const Library &library) {
    Hash hash;
    hash.add(library);
    return hash.value;
}

} // namespace hostmodel
