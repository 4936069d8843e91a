#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"

#include "ctraxdbpartlib/access/CTraxDBAttribAccess.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

const char *const SELECT_ATTRIBUTES = "SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM "
                                      "[Attributes] WHERE [Part_def_ID] = ? ORDER BY([Name]);";
const char *const COUNT_ATTRIBUTES = "SELECT Count(*) FROM [Attributes] WHERE [Part_def_ID] = ?;";

} // namespace

CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), "CTraxDBAttribReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t,CTraxDBPartDefAccess &)");
    openFor(definition.getID(), SELECT_ATTRIBUTES, COUNT_ATTRIBUTES);
}

CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBDetailReader(std::move(path), "CTraxDBAttribReader") {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBAttribReader::CTraxDBAttribReader(pathHandle_t,CTraxDBCompletePartAndPartDefAccess &)");
    openFor(part.getPartDefID(), SELECT_ATTRIBUTES, COUNT_ATTRIBUTES);
}

std::shared_ptr<AttributeAccess> CTraxDBAttribReader::makeRecord() {
    return std::make_shared<CTraxDBAttribAccess>(command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
