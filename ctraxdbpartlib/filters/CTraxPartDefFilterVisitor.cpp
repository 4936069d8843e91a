#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TraceName.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxPartDefFilterVisitor"};

} // namespace

CTraxPartDefFilterVisitor::CTraxPartDefFilterVisitor() {
    TXDB_TRACE(LOG_FINER, traced.constructor(""));
}

CTraxPartDefFilterVisitor::~CTraxPartDefFilterVisitor() {
    TXDB_TRACE(LOG_FINEST, traced.destructor());
}

void CTraxPartDefFilterVisitor::addField(std::shared_ptr<PartDefFilter> data) {
    getFilterString(data) += compared(data, "[Name]");
}

void CTraxPartDefFilterVisitor::addValStr(std::shared_ptr<PartDefFilter> data) {
    TXDB_TRACE(LOG_FINEST, traced("addValStr(partDefFilterHandle_t)"));
    writeValue(data, true);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
