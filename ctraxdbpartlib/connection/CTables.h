#pragma once

#include "ctraxdbpartlib/connection/CSession.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A schema rowset of names: the TABLES rowset (TABLE_NAME) or, with
// CCatalogs, the CATALOGS rowset (CATALOG_NAME).
class CTables {
public:
    HRESULT Open(const CSession &session);
    HRESULT MoveFirst();
    HRESULT MoveNext();
    void Close();

    char m_szName[129] = {}; // TABLE_NAME of the current row

protected:
    std::vector<std::string> names;
    size_t position = 0;
    bool open = false;
};

class CCatalogs : public CTables {
public:
    HRESULT Open(const CSession &session);
    const char *catalogName() const { return m_szName; } // CATALOG_NAME
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
