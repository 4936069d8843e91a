#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TraceName.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxLibFilterVisitor"};

} // namespace

CTraxLibFilterVisitor::CTraxLibFilterVisitor() {
    TXDB_TRACE(LOG_FINER, traced.constructor(""));
}

CTraxLibFilterVisitor::~CTraxLibFilterVisitor() {
    TXDB_TRACE(LOG_FINEST, traced.destructor());
}

void CTraxLibFilterVisitor::addField(std::shared_ptr<LibFilter> data) {
    getFilterString(data) += compared(data, "[Name]");
}

void CTraxLibFilterVisitor::addValStr(std::shared_ptr<LibFilter> data) {
    TXDB_TRACE(LOG_FINEST, traced("addValStr(shared_ptr<LibFilter>)"));
    writeValue(data, true);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
