#include "ctraxdbpartlib/readers/CTraxDBAllGateSwapReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBAllGateSwapAccess.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

const char *const constructorTrace =
    "CTraxDBAllGateSwapReader::CTraxDBAllGateSwapReader (pathHandle_t, CTraxDBLibAccess &,libraryFilterCompHandle_t)";

// The library and the one-definition statements.
constexpr DetailQuery definitionSwaps{
    "[Part_Definition].[ID],[Gate_Equiv].[Name],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[Equiv_type],"
    "[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID],[Pin_Data].[Pin_identifier]",
    "((([Part_Definition] INNER JOIN [Gate_Equiv] ON [Part_Definition].[ID]=[Gate_Equiv].[Part_def_ID]) INNER JOIN "
    "[Gate_Equiv_Gate] ON [Gate_Equiv_Gate].[Gate_equiv_ID]=[Gate_Equiv].[ID]) INNER JOIN [Gate_Equiv_has_Pin_Data] "
    "ON [Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID]=[Gate_Equiv_Gate].[ID]) INNER JOIN [Pin_Data] ON "
    "[Pin_Data].[ID]=[Gate_Equiv_has_Pin_Data].[Pin_data_ID]",
    " ORDER BY [Part_Definition].[ID],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID];"};
static_assert(detailAgrees<AllGateSwapAccessor>(definitionSwaps));

constexpr DetailQuery filteredSwaps{
    "[Gate_Equiv].[Part_def_ID],[Gate_Equiv].[Name],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[Equiv_type],"
    "[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID],[Pin_Data].[Pin_identifier]",
    "((([Gate_Equiv] INNER JOIN [Gate_Equiv_Gate] ON [Gate_Equiv_Gate].[Gate_equiv_ID]=[Gate_Equiv].[ID]) INNER JOIN "
    "[Gate_Equiv_has_Pin_Data] ON [Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID]=[Gate_Equiv_Gate].[ID]) INNER JOIN "
    "[Pin_Data] ON [Pin_Data].[ID]=[Gate_Equiv_has_Pin_Data].[Pin_data_ID])",
    " ORDER BY [Gate_Equiv].[Part_def_ID],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID];"};
static_assert(detailAgrees<AllGateSwapAccessor>(filteredSwaps));

} // namespace

CTraxDBAllGateSwapReader::CTraxDBAllGateSwapReader(pathHandle_t path, CTraxDBLibAccess &library,
                                                   const TCHAR *filterText)
    : DBAllDetailReader(std::move(path), "CTraxDBAllGateSwapReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openLibrary(definitionSwaps, filteredSwaps, "[Gate_Equiv].[Part_def_ID]", library, filterText);
}

CTraxDBAllGateSwapReader::CTraxDBAllGateSwapReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBAllDetailReader(std::move(path), "CTraxDBAllGateSwapReader") {
    TXDB_TRACE(LOG_FINER, constructorTrace);
    openFor(definitionSwaps, "[Part_Definition].[ID]", part.getPartDefID());
}

std::shared_ptr<AllGateSwapAccess> CTraxDBAllGateSwapReader::makeRecord() {
    return newRecord<CTraxDBAllGateSwapAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
