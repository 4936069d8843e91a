#pragma once

// Reading a library file (docs/library-format.md) into the host model, with
// every check that can be made before anything is written: the JSON syntax
// (line and column), the document's keys and their types, every text within
// its column's width in bytes of UTF-8, the names that the database keeps
// unique, and the references between the items (folders, definitions, pins,
// equivalence groups).
//
//   libraryfile::LibraryFile file = libraryfile::readLibraryFile(text);
//   libraryfile::checkAgainstDatabase(file, stored, {}, prune);
//   if (!file.problems.empty())
//       fail(libraryfile::summary(file.problems));
//
// Problems are named by their place in the document, as a path of keys and
// list positions: "libraries[0].parts[17].folder". Nothing here throws on bad
// input.

#include "tools/hostmodel/HostLibrary.h"
#include "tools/libraryfile/TextInput.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace libraryfile {

struct Problem {
    std::string place;   // "libraries[0].name", or "line 3, column 7" for the syntax
    std::string message; // what is wrong there
};

// The library keys a file's entry left out, which an import takes from the
// stored library rather than from their defaults.
struct LeftOut {
    bool enabled = false, comment = false;
};

struct LibraryFile {
    // The libraries as read, in the file's order; every item in state WRITE.
    // Complete only when there are no problems.
    std::vector<hostmodel::Library> libraries;
    std::vector<Problem> problems;
    // Per library, in the same order: the keys its entry left out.
    std::vector<LeftOut> leftOut;
};

// How the definitions and parts are read. DIRECT builds each straight into
// the model and reads one as a JSON tree only when it has a problem to name;
// TREES reads every one as a tree first. Both give the same file.
enum class ItemReading { DIRECT, TREES };

// Reads and checks the whole document, as it is read from the source: the
// document is never held whole, neither as text nor as a JSON tree.
// `named`, when given, is told each library's name as soon as its entry has
// been read, while the reading goes on.
using LibraryNamed = std::function<void(const std::string &name)>;
LibraryFile readLibraryFile(TextSource &source, ItemReading reading = ItemReading::DIRECT,
                            const LibraryNamed &named = {});
LibraryFile readLibraryFile(std::string_view text, ItemReading reading = ItemReading::DIRECT);

// The deepest folder tree a library file holds: a top folder is at level 1.
// Deeper trees are refused by the reader and by partlib export, which would
// otherwise write a file that cannot be read back (each level nests two JSON
// levels and indents its lines further, so the file grows with the square of
// the depth); partlib's other commands walk trees of at most this depth too.
constexpr int MAX_FOLDER_DEPTH = 100;

// At most this many problems are listed, so that a document of millions of
// faulty items does not take memory by the problem; a full list means that
// there may be more.
constexpr size_t MAX_PROBLEMS = 1000;

// Adds the problems of the names and references across the libraries (as
// readLibraryFile checks them once the document has been read): library,
// definition and part names unique, attribute names within a definition,
// folder names among siblings, every part's folder in the tree. For
// libraries made otherwise (a KiCad import) before they are written.
void checkNames(LibraryFile &file);

// "PLACE: MESSAGE" of the first problem, and how many more there are.
std::string summary(const std::vector<Problem> &problems);

// A pin identifier as the pins of a definition are told apart: regardless
// of case, as the writers link gates and groups to their pins.
std::string pinKey(const std::string &identifier);

// The width in characters of a text column, as the column catalogue gives
// it (0 for a column that is not a text column of the schema).
size_t columnWidth(const std::string &table, const std::string &column);

// What a database holds that the file's names are checked against: the
// library of each part definition name, and of each part name with the name
// of its definition.
struct StoredNames {
    struct PartOf {
        std::string library, definition;
    };
    std::unordered_map<std::string, std::string> definitions; // definition name -> library name
    std::unordered_map<std::string, PartOf> parts;            // part name -> library and definition
};

// Adds the problems of the file's libraries named in `selected` (every
// library when empty) against the database: a definition or part name that
// another library holds, and a part whose definition is neither in the file
// nor (unless `prune`, which removes what the file lacks) among the stored
// definitions of its library.
void checkAgainstDatabase(LibraryFile &file, const StoredNames &stored, const std::vector<std::string> &selected,
                          bool prune);

} // namespace libraryfile
