#pragma once

// The readers of a part definition's details: one main statement and one
// count statement, both with the parent's ID (definition, gate, swap group
// or swap gate) as their one parameter, and "Getting first record" /
// "Getting next record" / "End of record set" on the moves. Each record of
// a group member is numbered by its 0-based position in the reader's result.

#include "ctraxdbpartlib/readers/DBRowReader.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface, class TAccessor> class DBDetailReader : public DBRowReader<TInterface, TAccessor> {
protected:
    DBDetailReader(pathHandle_t path, std::string className)
        : DBRowReader<TInterface, TAccessor>(std::move(path), std::move(className), MoveTrace::Moves) {}

    // Binds `parentId`, opens `select` and takes the count from `countSql`.
    void openFor(int32_t parentId, const std::string &select, const std::string &countSql) {
        this->command.parentId = parentId;
        this->open(select);
        this->count = runCount(this->database(), countSql, parentId);
    }

    // The index of the record being made: 0 for the first row, and so on.
    int nextIndex() { return ++rowIndex; }

private:
    int rowIndex = -1;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
