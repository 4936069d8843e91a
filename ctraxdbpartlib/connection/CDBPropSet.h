#pragma once

#include "ctraxdbpartlib/OleDbTypes.h"
#include "ctraxdbpartlib/connection/DBVariant.h"

#include <utility>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A property set: the identifiers and values in the order they were added.
class CDBPropSet {
public:
    explicit CDBPropSet(DBPropSet set = DBPropSet::ROWSET) : set(set) {}

    void AddProperty(DBPROPID id, bool value) { props.emplace_back(id, DBVariant::fromBool(value)); }
    void AddProperty(DBPROPID id, int32_t value) { props.emplace_back(id, DBVariant::fromInt(value)); }
    void AddProperty(DBPROPID id, const std::string &value) { props.emplace_back(id, DBVariant::fromString(value)); }

    DBPropSet getSet() const { return set; }
    const std::vector<std::pair<DBPROPID, DBVariant>> &properties() const { return props; }

private:
    DBPropSet set;
    std::vector<std::pair<DBPROPID, DBVariant>> props;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
