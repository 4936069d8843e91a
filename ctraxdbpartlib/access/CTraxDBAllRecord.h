#pragma once

// What the library-wide detail records share: the ID of the part
// definition the row belongs to, its getter, and the destructor's trace.
// Each class traces under its own name.

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/access/DBField.h"

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBAllRecord : public DBAccess<TInterface> {
public:
    void getPartDefID(int &value) override {
        TXDB_TRACE(LOG_FINE, std::string(className) + "::getPartDefID(int &)");
        value = partDefId;
    }

protected:
    CTraxDBAllRecord(const char *className, int32_t partDefId) : className(className), partDefId(partDefId) {}
    ~CTraxDBAllRecord() override { TXDB_TRACE(LOG_FINEST, std::string(className) + "::~" + className); }

    const char *className; // a literal
    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
