#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/CDBPropSet.h"
#include "ctraxdbpartlib/connection/CRowset.h"
#include "ctraxdbpartlib/connection/CSession.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TAccessor> class CCommand;

// A statement without result: executed once by Open, closed at once.
template <> class CCommand<CNoAccessor> {
public:
    HRESULT Open(const CSession &session, const std::string &sql, const CDBPropSet *properties = nullptr);
    void Close() {}
};

// A query over an accessor record: Open prepares the parameters from the
// record, executes and binds the columns to it; the rowset operations
// (moves, pending changes) are those of CRowset.
template <class T> class CCommand<CAccessor<T>> : public CAccessor<T>, public CRowset {
public:
    HRESULT Open(const CSession &session, const std::string &sql, const CDBPropSet *properties = nullptr,
                 bool bind = true) {
        (void)bind;
        return CRowset::open(session, sql, properties, this->getMap());
    }
    void Close() { CRowset::close(); }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
