#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/CDBPropSet.h"
#include "ctraxdbpartlib/connection/CSession.h"

#include <memory>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A forward rowset over one query, bound to an accessor's column map, with
// changes (Insert, SetData, Delete) held pending until Update. For changes
// the rowset knows its base table (the single table after FROM) and that
// table's key columns, fetched as hidden columns when the select list
// lacks them.
class CRowset {
public:
    CRowset();
    virtual ~CRowset();

    HRESULT MoveFirst();
    HRESULT MoveNext();
    HRESULT GetData();

    HRESULT Insert();
    HRESULT SetData();
    HRESULT Delete();
    // Moves forward to the next row whose column `ordinal` equals the
    // buffer's value of that column (DB_S_ENDOFROWSET when none).
    HRESULT FindNextRow(int ordinal);
    HRESULT Update();

    bool isOpen() const;

protected:
    HRESULT open(const CSession &session, const std::string &sql, const CDBPropSet *properties, ColumnMap &map);
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
