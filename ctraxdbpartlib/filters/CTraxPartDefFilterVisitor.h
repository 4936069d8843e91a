#pragma once

#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "interface/PartDefFilter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Writes a part-definition filter: every comparison tests the definition's
// name, unqualified, since the reader selects from [Part_Definition] alone.
class CTraxPartDefFilterVisitor : public DBFilterVisitor<PartDefFilter> {
public:
    CTraxPartDefFilterVisitor();
    ~CTraxPartDefFilterVisitor() override;

protected:
    void addField(std::shared_ptr<PartDefFilter> data) override;
    void addValStr(std::shared_ptr<PartDefFilter> data) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
