#pragma once

// Which of a stored definition's pin-equivalence groups, gate-swap groups
// and gates the source delivers exactly as they are stored. Those kinds
// are replaced whole on every write of a stored definition; the write of an
// unchanged kind can leave the database as it is.
//
// A kind counts as unchanged only when rewriting it could not give other
// rows: every item of it (and of its members) has the write state 4, the
// items, their values and their order equal the stored ones, no gate pin
// asks for a pin to be created, and every pin the members name resolves to
// the same stored pin (the source delivers no pin that is not stored, so
// none waits in the buffers, and no two stored pins of the definition have
// identifiers that an engine could take for one another).

#include "ctraxdbpartlib/writers/StoredPins.h"
#include "interface/Handles.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;

struct UnchangedDetails {
    bool groups = false;
    bool swaps = false;
    bool gates = false;
    // Which kinds the source delivers a reader of.
    bool sourceGroups = false;
    bool sourceSwaps = false;
    bool sourceGates = false;
    // The stored pins, when every pin the source delivers is stored under
    // its identifier (and the source delivers groups, swap groups or
    // gates); else empty.
    StoredPins pins;

    // Compares the source's details with those of the stored definition.
    static UnchangedDetails of(pathHandle_t path, CTraxDBPartDefAccess &stored, PartDefAccess &source);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
