#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A property value: empty, a string, a boolean or a 32-bit integer.
struct DBVariant {
    enum Type { EMPTY, STRING, BOOL, I4 };
    Type type = EMPTY;
    std::string str;
    bool boolVal = false;
    int32_t intVal = 0;

    static DBVariant fromString(const std::string &s) {
        DBVariant v;
        v.type = STRING;
        v.str = s;
        return v;
    }
    static DBVariant fromBool(bool b) {
        DBVariant v;
        v.type = BOOL;
        v.boolVal = b;
        return v;
    }
    static DBVariant fromInt(int32_t i) {
        DBVariant v;
        v.type = I4;
        v.intVal = i;
        return v;
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
