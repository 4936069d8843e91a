// Part-definition filter trees from the fuzzer's bytes, run in the
// definition reader's form: besides the checks of every condition, no row
// of another library may pass the reader's library restriction.

#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    runNameFilter<CTraxPartDefFilterVisitor, PartDefFilter>(
        bytes, size, {"", "D1", "D%", "'", "\\", "%"},
        "SELECT [Library_ID] FROM [Part_Definition] WHERE [Library_ID] = 1 AND ", " ORDER BY([Name]);", true);
    return 0;
}
