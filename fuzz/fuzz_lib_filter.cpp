// Library filter trees from the fuzzer's bytes: the visitor either refuses
// the tree with an Exception or writes a condition that SQLite runs
// read-only, as one statement, in the library reader's form.

#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider in(bytes, size);
    const Node<LibFilter> root = decodeTree<LibFilter>(in, [](FuzzedDataProvider &in) {
        const int32_t type = pickNodeType(in);
        return std::make_shared<LibFilter>(type, pickText(in, {"", "L1", "L%", "'", "\\", "%"}));
    });
    std::string condition;
    if (!runRefusable([&] { condition = filterOf<CTraxLibFilterVisitor, LibFilter>(root); }))
        return 0;
    ProbeDatabase &db = ProbeDatabase::instance();
    std::vector<long long> ids;
    db.run(db.fixTcEnc("SELECT [ID] FROM [Library] WHERE " + condition + " ORDER BY [ID];"), ids);
    return 0;
}
