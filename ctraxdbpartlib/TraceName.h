#pragma once

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The trace texts of a class's members, its name written once:
//   constexpr TraceName traced{"CTraxDBLibAccess"};
//   traced("getPartReader(const TCHAR *,int)")  // "CTraxDBLibAccess::getPartReader(const TCHAR *,int)"
//   traced.constructor("(pathHandle_t)")       // "CTraxDBLibAccess::CTraxDBLibAccess(pathHandle_t)"
//   traced.destructor()                        // "CTraxDBLibAccess::~CTraxDBLibAccess"
// Built only where TXDB_TRACE evaluates its text, with logging on.
struct TraceName {
    const char *name;

    std::string operator()(const char *member) const { return std::string(name) + "::" + member; }
    std::string constructor(const char *parameters) const { return (*this)(name) + parameters; }
    std::string destructor(const char *rest = "") const { return std::string(name) + "::~" + name + rest; }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
