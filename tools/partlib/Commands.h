#pragma once

// The pieces that the commands of partlib share. Each group of subcommands
// lives in a unit of its own and adds itself to the application through one
// registration function declared here; main.cpp calls them in turn.
//
// A command does its work in its CLI11 callback. A failure of the plug-in
// reaches main as `COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *` and ends the
// program with status 1; a command that has to end with another status
// throws CLI::RuntimeError(status).

#include "interface/Handles.h"

#include <CLI/CLI.hpp>

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class Exception;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

// A DB argument is the path of a database file, whatever its characters,
// when such a file exists; otherwise a full initialisation string when it
// contains '=', else the path of a database file to be. A file whose name
// ends in .mdb or .accdb is an Access file, any other a SQLite file.
std::string initialisationStringOf(const std::string &database);

// Ends the command with a failure that prints `text` (status 1).
[[noreturn]] void fail(const std::string &text);

// Ends the command as a wrong use of the command line: `text`, the hint to
// --help and status 2, as the parser's own errors.
[[noreturn]] void usageError(const std::string &text);

// How messages name a DB argument: the file path, or "the database" for an
// initialisation string, which may hold a password ("The database" at the
// start of a sentence).
std::string databaseName(const std::string &database, bool startsSentence = false);

// The initialisation string of a database that must exist already: only
// init and the targets of the write commands may create a SQLite file, so
// a missing file (named as a path or in a SQLite initialisation string) is
// refused here.
std::string existingDatabase(const std::string &database);

// Refuses a database that is only read (an Access file) as the target of a
// write, before anything is opened.
void refuseReadOnlyDatabase(const std::string &database);

// Opens an existing part-library database without asking anything; one
// without the schema of the current version is refused with a message
// that says so.
COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t openExistingDatabase(const std::string &database);

// Adds the positional DB argument to a command.
CLI::Option *addDatabaseArgument(CLI::App &command, std::string &database);

// Prints the message of a plug-in failure on standard error (nothing when
// it is empty: the user has been told already), deletes it, returns 1.
int reportFailure(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure);

// Configures SQLite for this process before it is first used: no memory
// statistics, which partlib never reads, so that SQLite's allocations take
// no process-wide lock (the statement texts of a library write make
// millions of them).
void configureSqlite();

// Registration functions, one per command group:

// init, info, upgrade, catalogs (DatabaseCommands.cpp)
void addDatabaseCommands(CLI::App &app);

// copy (CopyCommand.cpp)
void addCopyCommand(CLI::App &app);

// library remove, library rename (LibraryCommands.cpp)
void addLibraryCommands(CLI::App &app);

// import (ImportCommand.cpp)
void addImportCommand(CLI::App &app);

// export (ExportCommand.cpp)
void addExportCommand(CLI::App &app);

// catalogue (CatalogueCommand.cpp)
void addCatalogueCommand(CLI::App &app);

// import-kicad (ImportKicadCommand.cpp)
void addImportKicadCommand(CLI::App &app);

// kicad-dbl (KicadDblCommand.cpp)
void addKicadDblCommand(CLI::App &app);

// part add, set, move, rename, remove (PartEdits.cpp)
void addPartCommands(CLI::App &app);

// folder add, rename, move, remove (FolderEdits.cpp)
void addFolderCommands(CLI::App &app);

// definition set, remove (DefinitionEdits.cpp)
void addDefinitionCommands(CLI::App &app);

// libraries, tree, parts, show, report (ReadCommands.cpp)
void addReadCommands(CLI::App &app);

} // namespace partlib
