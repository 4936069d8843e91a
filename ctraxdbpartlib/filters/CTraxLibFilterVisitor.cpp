#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"

#include "ctraxdbpartlib/CLogger.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxLibFilterVisitor::CTraxLibFilterVisitor() {
    TXDB_TRACE(LOG_FINER, "CTraxLibFilterVisitor::CTraxLibFilterVisitor");
}

CTraxLibFilterVisitor::~CTraxLibFilterVisitor() {
    TXDB_TRACE(LOG_FINEST, "CTraxLibFilterVisitor::~CTraxLibFilterVisitor");
}

void CTraxLibFilterVisitor::addField(std::shared_ptr<LibFilter> data) {
    getFilterString(data) += compared(data, "[Name]");
}

void CTraxLibFilterVisitor::addValStr(std::shared_ptr<LibFilter> data) {
    TXDB_TRACE(LOG_FINEST, "CTraxLibFilterVisitor::addValStr(shared_ptr<LibFilter>)");
    writeValue(data, true);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
