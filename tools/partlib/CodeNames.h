#pragma once

// The names of the type codes the database stores as numbers: a pin's type
// (the codes the KiCad import writes), a part's type and a gate-swap
// member's equivalence type. Text output shows the names; a code without
// a name stays a number.

#include "tools/partlib/Output.h"

namespace partlib {

enum class CodeKind { PinType, PartType, EquivType };

// The name of the code in the cell, or the cell itself when it holds no
// known code (NULL, another number).
Cell codeName(CodeKind kind, const Cell &code);

} // namespace partlib
