#pragma once

// What the records of a part definition's details share: the index the
// reader gave the record (its position in the reader's result; unused by
// records that have none), and the destructor's trace, written after the
// members of the derived classes (a path handle among them) are gone.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBDetailRecord : public CTraxDBRecord<TInterface> {
protected:
    explicit CTraxDBDetailRecord(const char *className, int index = -1,
                                 ArgumentSpelling spelling = ArgumentSpelling::AsWritten)
        : CTraxDBRecord<TInterface>(className, spelling), index(index) {}
    ~CTraxDBDetailRecord() override { TXDB_TRACE(LOG_FINEST, this->destructorText()); }

    int index;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
