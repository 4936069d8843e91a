#pragma once

// What the single-item edits share (partlib part, folder and definition):
// the arguments DB and LIBRARY and --dry-run, the stored library read into
// the host model, and the write of the changed library. A command only
// changes the library in memory; the change is then planned as an import
// of the changed library with --prune would plan it (libraryfile::
// planImport), so that the edit and the import leave the same rows, and
// written through the library writer in one transaction with the import's
// progress line, Ctrl-C handling and summary.
//
//   class PartRemove : public LibraryEdit {
//       void change(hostmodel::Library &library, const libraryfile::StoredNames &names) override {
//           library.parts.erase(library.parts.begin() + partIndex(library, part));
//       }
//   };

#include "tools/hostmodel/HostLibrary.h"
#include "tools/libraryfile/LibraryFile.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace partlib {

class LibraryEdit {
public:
    virtual ~LibraryEdit() = default;

    // Adds a group of edit commands (partlib part ...), whose help tells how
    // they write and then `more`.
    static CLI::App *addGroup(CLI::App &app, const std::string &name, const std::string &description,
                              const std::string &more);
    // Adds the command `name` under `group` with DB, LIBRARY and --dry-run,
    // and runs the edit when it is called.
    static CLI::App *add(CLI::App &group, const std::string &name, const std::string &description,
                         std::shared_ptr<LibraryEdit> edit);

protected:
    // Brings the stored library to what the command asks for; a refusal
    // ends the command with fail(), before anything is written.
    virtual void change(hostmodel::Library &library, const libraryfile::StoredNames &names) = 0;
    // "part R1 removed": what the edit did, for the dry run and the summary.
    virtual std::string what() const = 0;

    // The library being edited, as the messages name it.
    const std::string &libraryName() const { return library; }

    // The part, folder or definition of that name; refused with the closest
    // names when there is none.
    hostmodel::Part &findPart(hostmodel::Library &edited, const std::string &name) const;
    hostmodel::PartDefinition &findDefinition(hostmodel::Library &edited, const std::string &name) const;
    // The folder at a path of names ("Passives/Resistors"), refused with the
    // closest paths when there is none.
    hostmodel::Folder &findFolder(hostmodel::Library &edited, const std::vector<std::string> &path) const;

    // Refuses a part or definition name that the database holds already
    // (in any library: the names are unique across the database).
    void refuseTakenPartName(const hostmodel::Library &edited, const libraryfile::StoredNames &names,
                             const std::string &name) const;
    void refuseTakenDefinitionName(const hostmodel::Library &edited, const libraryfile::StoredNames &names,
                                   const std::string &name) const;

private:
    void run();

    std::string database;
    std::string library;
    bool dryRun = false;
};

// "A/B/C" as the folder names from the top level down; empty names (a
// leading or doubled '/') are refused, as a folder name cannot be empty.
std::vector<std::string> folderPath(const std::string &text, const std::string &option);
// The names joined with '/'.
std::string folderText(const std::vector<std::string> &path);

// The option's text checked against the width of its column; an empty text
// becomes NULL where the column allows it.
std::string checkedText(const std::string &value, const char *table, const char *column, const std::string &option);
hostmodel::Text optionText(const std::string &value, const char *table, const char *column, const std::string &option);
// A whole number, or NULL for an empty text.
hostmodel::Number optionNumber(const std::string &value, const std::string &option);

} // namespace partlib
