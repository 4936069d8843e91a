#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/access/CTraxDBAttribRecord.h"
#include "ctraxdbpartlib/readers/AllAttributeAccessor.h"
#include "interface/AllAttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One attribute of a library with the ID of its part definition.
class CTraxDBAllAttribAccess : public CTraxDBAttribRecord<CTraxDBAllRecord<AllAttributeAccess>> {
public:
    explicit CTraxDBAllAttribAccess(const AllAttributeAccessor &row);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
