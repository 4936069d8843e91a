// Part filter trees from the fuzzer's bytes (fields of the four tables,
// sub-queries, any nesting), run in the part reader's form: besides the
// checks of every condition, no part of another library may pass the
// reader's library restriction, and a tree the visitor accepts leaves no
// sub-query text behind.

#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

namespace {

const std::vector<std::string> FIELDS = {
    "Part Name", "Number", "Description",      "Version",         "Component", "Component Alternate", "Stem",
    "Max. Pin",  "Symbol", "Symbol Alternate", "Part Acceptance", "Part Type", "Tolerance",           "Value"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider in(bytes, size);
    const Node<PartFilter> root = decodeTree<PartFilter>(in, [](FuzzedDataProvider &in) {
        const int32_t type = pickNodeType(in);
        const int32_t table = in.ConsumeIntegralInRange<int32_t>(-1, 5);
        std::string field = pickText(in, FIELDS);
        std::string value = pickText(in, {"", "1", "-2", " 14 ", "R%", "SO14", "AND2", "5%", "'", "\\"});
        return std::make_shared<PartFilter>(type, value, field, table);
    });
    std::string condition;
    const bool accepted = runRefusable([&] {
        CTraxPartFilterVisitor visitor;
        root->accept(&visitor);
        for (int32_t table = 2; table <= 4; ++table)
            check(visitor.getFilterString(std::make_shared<PartFilter>(0, "", "", table)).empty(),
                  "sub-query text left out of the condition", visitor.getFilterString(nullptr));
        condition = visitor.getFilterString(nullptr);
    });
    if (accepted)
        runCondition("SELECT [Library_ID] FROM [Parts] WHERE [Library_ID] = 1 AND ", condition, " ORDER BY [ID];",
                     true);
    return 0;
}
