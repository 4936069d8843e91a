#pragma once

// A transaction around a read, so that every query sees the same database.
// Nothing is changed, so it is rolled back however the read ends.

#include "interface/Exception.h"
#include "interface/Handles.h"

#include <utility>

namespace partlib {

class ReadTransaction {
public:
    explicit ReadTransaction(COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t path) : path(std::move(path)) {
        this->path->startTransaction();
    }
    ~ReadTransaction() {
        try {
            path->abortTransaction();
        } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
            delete failure; // the read's own failure, if any, is the one to tell
        }
    }
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t path;
};

} // namespace partlib
