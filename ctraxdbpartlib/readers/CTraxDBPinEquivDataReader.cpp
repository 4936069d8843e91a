#include "ctraxdbpartlib/readers/CTraxDBPinEquivDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBPinEquivAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPinEquivDataAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_GROUP_PINS =
    "SELECT [Pin_identifier],[Equiv_group] FROM [Pin_Data] WHERE [Equiv_group] = ?;";
static_assert(selectAgrees<PinEquivDataAccessor>(SELECT_GROUP_PINS));

} // namespace

CTraxDBPinEquivDataReader::CTraxDBPinEquivDataReader(pathHandle_t path, CTraxDBPinEquivAccess &group)
    : DBDetailReader(std::move(path), "CTraxDBPinEquivDataReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBPinEquivDataReader::CTraxDBPinEquivDataReader(pathHandle_t,CTraxDBPinEquivAccess &)");
    openFor(group.getID(), SELECT_GROUP_PINS, "SELECT Count(*) FROM [Pin_Data] WHERE [Equiv_group] = ?;");
}

std::shared_ptr<PinEquivDataAccess> CTraxDBPinEquivDataReader::makeRecord() {
    return newRecord<CTraxDBPinEquivDataAccess>(command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
