#pragma once

#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "interface/LibFilter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Writes a library filter: every comparison tests the library's name.
class CTraxLibFilterVisitor : public DBFilterVisitor<LibFilter> {
public:
    CTraxLibFilterVisitor();
    ~CTraxLibFilterVisitor() override;

protected:
    void addField(std::shared_ptr<LibFilter> data) override;
    void addValStr(std::shared_ptr<LibFilter> data) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
