#pragma once

// What the fuzz targets share: invariant checks that stop the run, filter
// trees decoded from the fuzzer's bytes, and a small part-library file on
// which every generated condition is run read-only.

#include "interface/Exception.h"
#include "tests/support/FilterTree.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

struct sqlite3;

namespace fuzzsupport {

// Ends the run (libFuzzer keeps the input) when an invariant does not hold.
[[noreturn]] void fail(const std::string &what, const std::string &detail);
inline void check(bool holds, const std::string &what, const std::string &detail) {
    if (!holds)
        fail(what, detail);
}

// Runs the action; an Exception is the plug-in's refusal of the input and
// is released. True when the action ran through.
template <class F> bool runRefusable(F action) {
    try {
        action();
        return true;
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *e) {
        check(e != nullptr, "null exception", "");
        delete e;
        return false;
    }
}

// A text that is sometimes one of the interesting words, sometimes bytes.
std::string pickText(FuzzedDataProvider &in, const std::vector<std::string> &words);

// A filter tree: every node from makeData, groups and comparisons mixed,
// at most a few levels deep and a few dozen nodes.
template <class T, class MakeData>
Node<T> decodeTree(FuzzedDataProvider &in, MakeData makeData, int &budget, int depth = 0) {
    --budget;
    std::shared_ptr<T> data = makeData(in);
    typename COM_ORVEL_TRAX_PLDAIO_INTERFACE::Component<T>::ChildList children;
    const int count = depth < 5 && budget > 0 ? in.ConsumeIntegralInRange<int>(0, 4) : 0;
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i)
        children.push_back(decodeTree<T>(in, makeData, budget, depth + 1));
    return std::make_shared<TreeNode<T>>(data, children);
}
template <class T, class MakeData> Node<T> decodeTree(FuzzedDataProvider &in, MakeData makeData) {
    int budget = 40;
    return decodeTree<T>(in, makeData, budget);
}

// A node type: mostly 0 to 9, half of them with the case-ignoring flag
// (0x100), now and then one outside.
int32_t pickNodeType(FuzzedDataProvider &in);

// The statement select + condition + order, through fixTcEnc, run on the
// probe database below. With `restricted`, select ends in a restriction to
// library 1 and names the library column first: no row of another library
// may come through the condition.
void runCondition(const std::string &select, const std::string &condition, const std::string &order, bool restricted);

// Builds the condition of a filter tree with a fresh V and runs it as
// runCondition does; a tree that V refuses is not run.
template <class V, class T>
void runFilter(const Node<T> &root, const std::string &select, const std::string &order, bool restricted) {
    std::string condition;
    if (runRefusable([&] { condition = filterOf<V, T>(root); }))
        runCondition(select, condition, order, restricted);
}

// A tree of name comparisons (library or part-definition filter) from the
// bytes, run as runFilter does; values often one of `words`.
template <class V, class T>
void runNameFilter(const uint8_t *bytes, size_t size, const std::vector<std::string> &words, const std::string &select,
                   const std::string &order, bool restricted) {
    FuzzedDataProvider in(bytes, size);
    const Node<T> root = decodeTree<T>(in, [&words](FuzzedDataProvider &in) {
        const int32_t type = pickNodeType(in);
        return std::make_shared<T>(type, pickText(in, words));
    });
    runFilter<V>(root, select, order, restricted);
}

// A small part library in a SQLite file (two libraries, their definitions,
// gates, attributes and parts), opened once per process. run prepares a
// statement already put through fixTcEnc and steps through its rows with
// the connection's query_only on; a statement that is not read-only, or a
// second statement behind the first, ends the run, and so does a change of
// the file's bytes, compared every 256 runs. Returns the first column of
// every row, or false when the database refused the statement.
class ProbeDatabase {
public:
    static ProbeDatabase &instance();
    // The text with the database's quoting characters.
    std::string fixTcEnc(const std::string &sql);
    bool run(const std::string &sql, std::vector<long long> &firstColumn);

private:
    ProbeDatabase();
    std::string file;
    std::string bytes;
    ::sqlite3 *db = nullptr;
    long runs = 0;
};

} // namespace fuzzsupport
