#pragma once

// What the library-wide detail records add to the detail records: the ID
// of the part definition the row belongs to, and its getter. Their getters'
// trace texts have a blank after each comma of the argument list.

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"

#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBAllRecord : public CTraxDBDetailRecord<TInterface> {
public:
    void getPartDefID(int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPartDefID(int &)"));
        value = partDefId;
    }

protected:
    CTraxDBAllRecord(const char *className, int32_t partDefId, int index = -1)
        : CTraxDBDetailRecord<TInterface>(className, index, ArgumentSpelling::Spaced), partDefId(partDefId) {}

    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
