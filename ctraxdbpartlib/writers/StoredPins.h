#pragma once

// The stored pins of one part definition under their identifiers, as a
// pin rowset of the definition finds them: one pin per identifier, the
// identifier compared byte for byte. A pin without identifier is found by
// no identifier and is left out.

#include "ctraxdbpartlib/access/CTraxDBPinDataAccess.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class StoredPins {
public:
    void add(std::string identifier, std::shared_ptr<CTraxDBPinDataAccess> pin);
    void clear();
    // The next find starts at the first pin again.
    void rewind() { next = 0; }
    bool empty() const { return pins.empty(); }

    // False when two identifiers are the same but for the case of ASCII
    // letters: an engine that compares without case could take one for
    // the other.
    bool distinct() const;
    // The pin stored under the identifier; null when there is none. Pins
    // asked for in their stored order are found without a search.
    const CTraxDBPinDataAccess *find(const std::string &identifier);

private:
    std::vector<std::pair<std::string, std::shared_ptr<CTraxDBPinDataAccess>>> pins; // in the stored order
    size_t next = 0;                                                                 // the pin after the last one found
    std::vector<size_t> byText; // the pins in the order of their identifiers, made at the first search
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
