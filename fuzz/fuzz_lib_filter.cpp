// Library filter trees from the fuzzer's bytes: the visitor either refuses
// the tree with an Exception or writes a condition that SQLite runs
// read-only, as one statement, in the library reader's form.

#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    runNameFilter<CTraxLibFilterVisitor, LibFilter>(bytes, size, {"", "L1", "L%", "'", "\\", "%"},
                                                    "SELECT [ID] FROM [Library] WHERE ", " ORDER BY [ID];", false);
    return 0;
}
