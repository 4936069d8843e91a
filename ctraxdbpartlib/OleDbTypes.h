#pragma once

// Result codes, binding status values and property identifiers of the
// session layer. The values are those of OLE DB, so that code written
// against that contract keeps its meaning.

#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT DB_S_ENDOFROWSET = 0x00040EC6;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DB_E_ERRORSINCOMMAND = static_cast<HRESULT>(0x80040E14u);
constexpr HRESULT DB_E_INTEGRITYVIOLATION = static_cast<HRESULT>(0x80040E2Fu);
constexpr HRESULT DB_E_NOTABLE = static_cast<HRESULT>(0x80040E37u);
constexpr HRESULT DB_E_CANCELED = static_cast<HRESULT>(0x80040E4Eu);
constexpr HRESULT DB_E_ERRORSOCCURRED = static_cast<HRESULT>(0x80040E21u);
constexpr HRESULT DB_E_BADROWHANDLE = static_cast<HRESULT>(0x80040E04u);
constexpr HRESULT DB_E_CANTCONVERTVALUE = static_cast<HRESULT>(0x80040E07u);
constexpr HRESULT DB_E_NOTSUPPORTED = static_cast<HRESULT>(0x80040E53u);
constexpr HRESULT XACT_E_NOTRANSACTION = static_cast<HRESULT>(0x8004D00Eu);
constexpr HRESULT XACT_E_XTIONEXISTS = static_cast<HRESULT>(0x8004D013u);

inline bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline bool FAILED(HRESULT hr) {
    return hr < 0;
}

// Status of a bound column.
using DBSTATUS = uint32_t;
constexpr DBSTATUS DBSTATUS_S_OK = 0;
constexpr DBSTATUS DBSTATUS_S_TRUNCATED = 2;
constexpr DBSTATUS DBSTATUS_S_ISNULL = 3;

// Property sets and the properties the plug-in uses.
enum class DBPropSet { DATASOURCEINFO, DBINIT, ROWSET };
using DBPROPID = uint32_t;
constexpr DBPROPID DBPROP_CURRENTCATALOG = 0x25;
constexpr DBPROPID DBPROP_DATASOURCENAME = 0x26;
constexpr DBPROPID DBPROP_DATASOURCEREADONLY = 0x27;
constexpr DBPROPID DBPROP_INIT_CATALOG = 0xE9;
constexpr DBPROPID DBPROP_IRowsetChange = 0x7F;
constexpr DBPROPID DBPROP_IRowsetFind = 0xCC;
constexpr DBPROPID DBPROP_IRowsetUpdate = 0x86;
constexpr DBPROPID DBPROP_UPDATABILITY = 0x75;
constexpr int32_t DBPROPVAL_UP_CHANGE = 1;
constexpr int32_t DBPROPVAL_UP_DELETE = 2;
constexpr int32_t DBPROPVAL_UP_INSERT = 4;

constexpr int32_t ISOLATIONLEVEL_READCOMMITTED = 0x1000;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
