#pragma once

// What the library-wide detail records add to the detail records: the ID
// of the part definition the row belongs to, and its getter.

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBAllRecord : public CTraxDBDetailRecord<TInterface> {
public:
    void getPartDefID(int &value) override {
        TXDB_TRACE(LOG_FINE, std::string(this->className) + "::getPartDefID(int &)");
        value = partDefId;
    }

protected:
    CTraxDBAllRecord(const char *className, int32_t partDefId, int index = -1)
        : CTraxDBDetailRecord<TInterface>(className, index), partDefId(partDefId) {}

    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
