#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"

#include "ctraxdbpartlib/CLogger.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxPartDefFilterVisitor::CTraxPartDefFilterVisitor() {
    TXDB_TRACE(LOG_FINER, "CTraxPartDefFilterVisitor::CTraxPartDefFilterVisitor");
}

CTraxPartDefFilterVisitor::~CTraxPartDefFilterVisitor() {
    TXDB_TRACE(LOG_FINEST, "CTraxPartDefFilterVisitor::~CTraxPartDefFilterVisitor");
}

void CTraxPartDefFilterVisitor::addField(std::shared_ptr<PartDefFilter> data) {
    getFilterString(data) += compared(data, "[Name]");
}

void CTraxPartDefFilterVisitor::addValStr(std::shared_ptr<PartDefFilter> data) {
    TXDB_TRACE(LOG_FINEST, "CTraxPartDefFilterVisitor::addValStr(partDefFilterHandle_t)");
    writeValue(data, true);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
