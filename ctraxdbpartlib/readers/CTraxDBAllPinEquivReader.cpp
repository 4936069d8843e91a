#include "ctraxdbpartlib/readers/CTraxDBAllPinEquivReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBAllPinEquivAccess.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

const char *const constructorTrace =
    "CTraxDBAllPinEquivReader::CTraxDBAllPinEquivReader (pathHandle_t, CTraxDBLibAccess &,libraryFilterCompHandle_t)";

// The library and the one-definition statements.
constexpr DetailQuery definitionEquivs{
    "[Part_Definition].[ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier]",
    "([Part_Definition] INNER JOIN [Pin_Equiv] ON [Part_Definition].[ID]=[Pin_Equiv].[Part_def_ID]) INNER JOIN "
    "[Pin_Data] on [Pin_Equiv].[ID]=[Pin_Data].[Equiv_group]",
    " ORDER BY [Part_Definition].[ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier];"};
static_assert(detailAgrees<AllPinEquivAccessor>(definitionEquivs));

constexpr DetailQuery filteredEquivs{
    "[Pin_Equiv].[Part_def_ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier]",
    "[Pin_Equiv] INNER JOIN [Pin_Data] on [Pin_Equiv].[ID]=[Pin_Data].[Equiv_group]",
    " ORDER BY [Pin_Equiv].[Part_def_ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier];"};
static_assert(detailAgrees<AllPinEquivAccessor>(filteredEquivs));

} // namespace

CTraxDBAllPinEquivReader::CTraxDBAllPinEquivReader(pathHandle_t path, CTraxDBLibAccess &library,
                                                   const TCHAR *filterText)
    : DBAllDetailReader(std::move(path), "CTraxDBAllPinEquivReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openLibrary(definitionEquivs, filteredEquivs, "[Pin_Equiv].[Part_def_ID]", library, filterText);
}

CTraxDBAllPinEquivReader::CTraxDBAllPinEquivReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBAllDetailReader(std::move(path), "CTraxDBAllPinEquivReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openFor(definitionEquivs, "[Part_Definition].[ID]", part.getPartDefID());
}

std::shared_ptr<AllPinEquivAccess> CTraxDBAllPinEquivReader::makeRecord() {
    return newRecord<CTraxDBAllPinEquivAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
