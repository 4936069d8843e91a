#include "ctraxdbpartlib/readers/CTraxDBAllGateReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBAllGateAccess.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

const char *const constructorTrace =
    "CTraxDBAllGateReader::CTraxDBAllGateReader (pathHandle_t, CTraxDBLibAccess &,libraryFilterCompHandle_t)";

constexpr DetailQuery libraryGates{
    "[Part_Definition].[ID],[Gate].[Name],[Gate].[Alt_name],[Gate].[ID],[Pin_Data].[Pin_identifier]",
    "(([Part_Definition] INNER JOIN [Gate] ON [Part_Definition].[ID]=[Gate].[Part_def_ID]) LEFT OUTER JOIN "
    "[Gate_has_Pin_Data] ON [Gate_has_Pin_Data].[Gate_ID]=[Gate].[ID]) LEFT OUTER JOIN [Pin_Data] ON "
    "[Pin_Data].[ID]=[Gate_has_Pin_Data].[Pin_data_ID]",
    " ORDER BY [Part_Definition].[ID],[Gate].[ID],[Gate_has_Pin_Data].[ID];"};
static_assert(detailAgrees<AllGateAccessor>(libraryGates));

// The filtered and the one-definition statements.
constexpr DetailQuery definitionGates{
    "[Gate].[Part_def_ID],[Gate].[Name],[Gate].[Alt_name],[Gate].[ID],[Pin_Data].[Pin_identifier]",
    "([Gate] LEFT OUTER JOIN [Gate_has_Pin_Data] ON [Gate_has_Pin_Data].[Gate_ID]=[Gate].[ID]) LEFT OUTER JOIN "
    "[Pin_Data] ON [Pin_Data].[ID]=[Gate_has_Pin_Data].[Pin_data_ID]",
    " ORDER BY [Gate].[Part_def_ID],[Gate].[ID],[Gate_has_Pin_Data].[ID];"};
static_assert(detailAgrees<AllGateAccessor>(definitionGates));

} // namespace

CTraxDBAllGateReader::CTraxDBAllGateReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText)
    : DBAllDetailReader(std::move(path), "CTraxDBAllGateReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openLibrary(libraryGates, definitionGates, "[Gate].[Part_def_ID]", library, filterText);
}

CTraxDBAllGateReader::CTraxDBAllGateReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBAllDetailReader(std::move(path), "CTraxDBAllGateReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openFor(definitionGates, "[Gate].[Part_def_ID]", part.getPartDefID());
}

std::shared_ptr<AllGateAccess> CTraxDBAllGateReader::makeRecord() {
    return newRecord<CTraxDBAllGateAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
