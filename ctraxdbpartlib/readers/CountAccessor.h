#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The accessor of every count query: the count in column 1 and as many
// integer parameters as the statement has '?' markers (at most two).
struct CountAccessor {
    int32_t count = 0;
    int32_t params[2] = {0, 0};
    int paramCount = 0;

    void bind(ColumnMap &map) {
        map.column(1, count);
        for (int i = 0; i < paramCount; ++i)
            map.param(i + 1, params[i]);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
