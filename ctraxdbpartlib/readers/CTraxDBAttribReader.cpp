#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBAttribAccess.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBAttribReader"};

constexpr const char *SELECT_ATTRIBUTES = "SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM "
                                          "[Attributes] WHERE [Part_def_ID] = ? ORDER BY([Name]);";
static_assert(selectAgrees<AttributeAccessor>(SELECT_ATTRIBUTES));
const char *const COUNT_ATTRIBUTES = "SELECT Count(*) FROM [Attributes] WHERE [Part_def_ID] = ?;";

} // namespace

CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBPartDefAccess &)"));
    openFor(definition.getID(), SELECT_ATTRIBUTES, COUNT_ATTRIBUTES);
}

CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBCompletePartAndPartDefAccess &)"));
    openFor(part.getPartDefID(), SELECT_ATTRIBUTES, COUNT_ATTRIBUTES);
}

std::shared_ptr<AttributeAccess> CTraxDBAttribReader::makeRecord() {
    return newRecord<CTraxDBAttribAccess>(command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
