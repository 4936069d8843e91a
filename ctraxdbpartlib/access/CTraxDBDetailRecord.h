#pragma once

// What the records of a part definition's details share: the class name
// the destructor traces under and the index the reader gave the record
// (its position in the reader's result; unused by records that have none).

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/access/DBField.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBDetailRecord : public DBAccess<TInterface> {
protected:
    explicit CTraxDBDetailRecord(const char *className, int index = -1) : className(className), index(index) {}
    ~CTraxDBDetailRecord() override { TXDB_TRACE(LOG_FINEST, std::string(className) + "::~" + className); }

    const char *className;
    int index;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
