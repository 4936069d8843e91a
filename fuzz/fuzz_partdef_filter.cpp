// Part-definition filter trees from the fuzzer's bytes, run in the
// definition reader's form: besides the checks of every condition, no row
// of another library may pass the reader's library restriction.

#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider in(bytes, size);
    const Node<PartDefFilter> root = decodeTree<PartDefFilter>(in, [](FuzzedDataProvider &in) {
        const int32_t type = pickNodeType(in);
        return std::make_shared<PartDefFilter>(type, pickText(in, {"", "D1", "D%", "'", "\\", "%"}));
    });
    std::string condition;
    if (!runRefusable([&] { condition = filterOf<CTraxPartDefFilterVisitor, PartDefFilter>(root); }))
        return 0;
    ProbeDatabase &db = ProbeDatabase::instance();
    std::vector<long long> libraries;
    const std::string sql = db.fixTcEnc("SELECT [Library_ID] FROM [Part_Definition] WHERE [Library_ID] = 1 AND " +
                                        condition + " ORDER BY([Name]);");
    if (db.run(sql, libraries))
        for (long long library : libraries)
            check(library == 1, "a condition that escapes the library restriction", sql);
    return 0;
}
