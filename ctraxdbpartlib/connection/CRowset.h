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
    // Sets the buffer's values on the current row; on a row of the in-memory
    // copy (below) that holds them already, nothing is held pending.
    HRESULT SetData();
    // What SetData refuses before it looks at the values: a rowset that is
    // not open or whose rows cannot be changed. For a row known to hold the
    // buffer's values already, which is not set again.
    HRESULT checkChangeable();
    HRESULT Delete();
    // Moves forward to the next row whose column `ordinal` equals the
    // buffer's value of that column (DB_S_ENDOFROWSET when none).
    HRESULT FindNextRow(int ordinal);
    // Positions on the first row, in the rowset's order, whose column
    // `ordinal` equals the buffer's value of that column (DB_S_ENDOFROWSET
    // when none). The first call reads the whole result into memory and
    // indexes that column, so that every later find costs one look-up; the
    // rowset's own changes (Insert, SetData, Delete) keep the copy current
    // until MoveFirst reads the database again.
    HRESULT FindFirstRow(int ordinal);
    // Positions on the row at `position` (0 for the first) of that copy: the
    // rows as the query gave them, so a row deleted through the rowset keeps
    // its place and is not found.
    HRESULT MoveToRow(int position);
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
