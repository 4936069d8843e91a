#pragma once

#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "interface/PartFilter.h"

#include <map>
#include <stack>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Writes a part filter. Conditions on the part's own columns (tables 0 and 1)
// go into the main condition; conditions on the definition (2), its gates (3)
// and its attributes (4) are gathered per table as a sub-query on
// [Part_def_ID] and spliced into the main condition when the sub-tree that
// tests the table ends under a group of table 0, or at the root.
class CTraxPartFilterVisitor : public DBFilterVisitor<PartFilter> {
public:
    CTraxPartFilterVisitor();
    ~CTraxPartFilterVisitor() override;

    std::string &getFilterString(std::shared_ptr<PartFilter> data) override;

protected:
    void beginNode(std::shared_ptr<PartFilter> data) override;
    void endNode(std::shared_ptr<PartFilter> data) override;
    void addField(std::shared_ptr<PartFilter> data) override;
    void addValStr(std::shared_ptr<PartFilter> data) override;

private:
    struct FieldEntry {
        std::string column;
        int32_t numeric;
    };

    std::string &tableString(int32_t table);
    const FieldEntry &lookupField(const std::string &displayName) const;

    std::stack<int32_t> tables;
    std::string partDefString;
    std::string gateString;
    std::string attributeString;
    std::map<std::string, FieldEntry> fields;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
