#include "tools/partlib/Filters.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"
#include "interface/Component.h"
#include "interface/Exception.h"
#include "interface/LibFilter.h"
#include "interface/PartFilter.h"
#include "interface/Visitor.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

namespace {

// A node of a filter tree: its data and its children.
template <class T> class FilterNode : public Component<T> {
public:
    explicit FilterNode(std::shared_ptr<T> data) : data(std::move(data)) {}

    std::shared_ptr<T> getData() override { return data; }
    typename Component<T>::ChildList *getChildren() override { return &children; }
    void accept(Visitor<T> *visitor) override { visitor->visitComposite(this); }

    void add(std::shared_ptr<Component<T>> child) { children.push_back(std::move(child)); }

private:
    std::shared_ptr<T> data;
    typename Component<T>::ChildList children;
};

// A comparison's node type, made to ignore ASCII case when asked to: only
// =, <>, like and notlike can; the others keep their code.
int32_t comparisonType(int32_t nodeType, bool ignoreCase) {
    const bool folds =
        nodeType == NODE_EQUAL || nodeType == NODE_NOT_EQUAL || nodeType == NODE_LIKE || nodeType == NODE_NOT_LIKE;
    return ignoreCase && folds ? nodeType | NODE_IGNORE_CASE : nodeType;
}

// The part filter's table codes.
constexpr int32_t TABLE_ROOT = 0;
constexpr int32_t TABLE_PARTS = 1;
constexpr int32_t TABLE_PART_DEFINITION = 2;
constexpr int32_t TABLE_GATE = 3;
constexpr int32_t TABLE_ATTRIBUTES = 4;

// Which table each display name of the part filter belongs to. A name not
// listed goes to the part's own table, where the visitor refuses it.
struct FieldGroup {
    int32_t table;
    const char *what;
    std::vector<const char *> names;
};
const FieldGroup fieldGroups[] = {
    {TABLE_PARTS, "the part", {"Part Name", "Number", "Description", "Version", "Part Acceptance", "Part Type"}},
    {TABLE_PART_DEFINITION, "its definition", {"Component", "Component Alternate", "Stem", "Max. Pin"}},
    {TABLE_GATE, "a gate of its definition", {"Symbol", "Symbol Alternate"}},
};

const char *const ATTRIBUTE_PREFIX = "attr:";

int32_t tableOf(const std::string &field) {
    for (const FieldGroup &group : fieldGroups)
        for (const char *name : group.names)
            if (field == name)
                return group.table;
    return TABLE_PARTS;
}

using DBIMPL::trimmed;

struct Operator {
    const char *text;
    int32_t nodeType;
    bool word; // written as a word, with blanks around it
};
// Longer symbols first, so that <= is not read as <.
const Operator operators[] = {
    {"<>", NODE_NOT_EQUAL, false},    {">=", NODE_GREATER_EQUAL, false}, {"<=", NODE_LESS_EQUAL, false},
    {"=", NODE_EQUAL, false},         {">", NODE_GREATER, false},        {"<", NODE_LESS, false},
    {"notlike", NODE_NOT_LIKE, true}, {"like", NODE_LIKE, true},
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the operator stands at the position of the text.
bool operatorAt(const std::string &text, size_t at, const Operator &op) {
    const size_t length = std::char_traits<char>::length(op.text);
    if (at + length > text.size() || !DBIMPL::equalsNoCase(std::string_view(text).substr(at, length), op.text))
        return false;
    if (!op.word)
        return true;
    return at > 0 && isBlank(text[at - 1]) && (at + length == text.size() || isBlank(text[at + length]));
}

[[noreturn]] void refuseClause(const std::string &text, const std::string &problem) {
    throw new Exception("--where \"" + text + "\": " + problem +
                        "; write FIELD OP VALUE with OP one of = <> > >= < <= like notlike "
                        "(see partlib parts --help)");
}

} // namespace

WhereClause parseWhereClause(const std::string &text) {
    for (size_t at = 0; at < text.size(); ++at)
        for (const Operator &op : operators) {
            if (!operatorAt(text, at, op))
                continue;
            WhereClause clause{trimmed(text.substr(0, at)), op.nodeType,
                               trimmed(text.substr(at + std::char_traits<char>::length(op.text)))};
            if (clause.field.empty())
                refuseClause(text, "no field before the operator");
            return clause;
        }
    refuseClause(text, "no operator");
}

partFilterCompHandle_t partFilterOf(const std::vector<std::string> &clauses, bool any, bool ignoreCase) {
    if (clauses.empty())
        return nullptr;
    auto root = std::make_shared<FilterNode<PartFilter>>(
        std::make_shared<PartFilter>(any ? NODE_OR : NODE_AND, "", "", TABLE_ROOT));
    for (const std::string &text : clauses) {
        WhereClause clause = parseWhereClause(text);
        std::string field = clause.field;
        int32_t table = tableOf(field);
        if (field.rfind(ATTRIBUTE_PREFIX, 0) == 0) {
            field = trimmed(field.substr(std::char_traits<char>::length(ATTRIBUTE_PREFIX)));
            if (field.empty())
                refuseClause(text, "no attribute name after attr:");
            table = TABLE_ATTRIBUTES;
        }
        root->add(std::make_shared<FilterNode<PartFilter>>(
            std::make_shared<PartFilter>(comparisonType(clause.nodeType, ignoreCase), clause.value, field, table)));
    }
    try {
        DBIMPL::CTraxPartFilterVisitor check;
        root->accept(&check);
    } catch (Exception *failure) {
        const std::string message = failure->getMessage();
        delete failure;
        throw new Exception(message + " (see partlib parts --help for the fields)");
    }
    return root;
}

partFilterCompHandle_t partNameFilter(const std::string &name) {
    return std::make_shared<FilterNode<PartFilter>>(
        std::make_shared<PartFilter>(NODE_EQUAL, name, "Part Name", TABLE_ROOT));
}

libraryFilterCompHandle_t libraryNameFilter(int32_t nodeType, const std::string &value, bool ignoreCase) {
    return std::make_shared<FilterNode<LibFilter>>(
        std::make_shared<LibFilter>(comparisonType(nodeType, ignoreCase), value));
}

std::string whereHelp() {
    std::string help =
        "A condition on the parts, \"FIELD OP VALUE\"; repeat it for more (all must hold, or any with "
        "--any). OP is one of = <> > >= < <= like notlike. Texts compare the same way on every database: = and "
        "<> compare every byte (case and blanks count), > >= < <= follow the byte order, like and "
        "notlike tell case as = does and take % (any text) and _ (one character) as their only "
        "wildcards, a backslash being an ordinary character; --ignore-case makes = <> like notlike disregard the "
        "case of the letters A to Z (only those: Ä and ä stay apart, on every database). VALUE is taken as written up "
        "to the end, blanks around it "
        "left out; an empty VALUE with = or <> "
        "tests for NULL. FIELD is a field ";
    for (const FieldGroup &group : fieldGroups) {
        help += "of " + std::string(group.what) + " (";
        for (size_t i = 0; i < group.names.size(); ++i)
            help += std::string(i ? ", " : "") + group.names[i];
        help += "), ";
    }
    return help + "or attr:NAME, the value of the definition's attribute NAME. Version, Max. Pin and Part Type take "
                  "integers. Example: --where \"Part Name like R%\" --where \"attr:Manufacturer = Acme\"";
}

} // namespace partlib
