#pragma once

#include "interface/Handles.h"
#include "interface/LibHierarchyOnlyAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/Path.h"
#include "interface/PathData.h"
#include "interface/Reader.h"
#include "interface/Source.h"
#include "interface/Writer.h"

#include <memory>

#ifndef TXDB_EXPORT
#define TXDB_EXPORT __attribute__((visibility("default")))
#endif

// The host's window; only the data-link dialog uses it.
class CWnd;

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// The entry points of the plug-in. Each creates one object and hands it out
/// as a shared pointer; failures arrive as thrown Exception pointers (the
/// catcher deletes them). docs/host-guide.md shows them at work.
/// @return the plug-in's capability bits, the constant 0x70C3; their meaning is the host's.
TXDB_EXPORT int getCapabilities();
/// Asks the user for a data source through the data-link prompt
/// (HostCallbacks::dataLinkPrompt) and opens it.
/// @param parent the owner of the prompt; may be null.
/// @return the opened source, for getPathDataReader.
/// @throws Exception* the provider's message when it cannot be opened; an
///         empty message when the user cancelled.
TXDB_EXPORT sourceHandle_t selectSource(CWnd *parent);
/// @return a reader of the catalogs (databases) the source offers, each a
///         PathData with its name and initialisation string.
/// @throws Exception* "Invalid NULL source handle passed" (32961) for an empty
///         handle, "Invalid source handle passed" (32962) for a Source of
///         another plug-in, or the provider's message.
TXDB_EXPORT std::shared_ptr<Reader<PathData>> getPathDataReader(sourceHandle_t source);
/// Ignores both arguments (null ones included) and throws nothing.
/// @return always an empty pointer.
TXDB_EXPORT std::shared_ptr<PathData> createPathData(sourceHandle_t source, TCHAR *path);
/// Opens the database the user picks in the data-link prompt, as
/// openPath(TCHAR *) opens one from its initialisation string.
/// @param parent the owner of the prompt; may be null.
/// @throws Exception* as openPath(TCHAR *); an empty message when the user
///         cancelled the prompt.
TXDB_EXPORT pathHandle_t openPath(CWnd *parent);
/// Opens the part-library database an OLE DB initialisation string names
/// ("Provider=SQLite;Data Source=parts.db", "Provider=ODBC;Driver=...") and
/// checks its schema. A database without the part library, or with an older
/// one, is refused unless prompting is on (doPromptValidationMsg(true)); then
/// the user is asked whether to create or upgrade it. A SQLite file that does
/// not exist is created only when prompting is on.
/// @param path the initialisation string; the plug-in does not keep it.
/// @return the open database; it stays open while anything made from it lives.
/// @throws Exception* "Invalid NULL path string" (32965) for a null string;
///         an empty message when the database holds no current part library
///         and the user was not asked or answered No; "The Parts Database is
///         from a more recent version ..." (32976); the provider's message
///         for every failure of the database (a missing SQLite file names
///         the file and how to have it created).
TXDB_EXPORT pathHandle_t openPath(TCHAR *path);
/// @param filter a tree of library name comparisons; empty reads every library.
/// @return a reader of the path's libraries that the filter lets through, in
///         name order (in key order when a filter is given).
/// @throws Exception* "Invalid NULL path handle passed" (32966), "Invalid path
///         handle passed" (32967) for a Path of another plug-in, "Unknown Node
///         Type" (32971) or "Unknown Comparator Type" (32972) for a malformed
///         filter, or the database's message.
TXDB_EXPORT libraryReaderHandle_t getLibraryReader(pathHandle_t path, libraryFilterCompHandle_t filter);
/// @return a writer of whole libraries (folders, part definitions with their
///         details, parts) into the path; its write begins and ends its own
///         transaction.
/// @throws Exception* 32966 or 32967 as getLibraryReader, or the database's
///         message.
TXDB_EXPORT std::shared_ptr<Writer<LibraryAccess>> getLibraryWriter(pathHandle_t path);
/// @return a writer of libraries' rows, folder trees and the placement of
///         their parts in them, nothing of the part definitions.
/// @throws Exception* as getLibraryWriter.
TXDB_EXPORT std::shared_ptr<Writer<LibHierarchyOnlyAccess>> getLibHierarchyOnlyWriter(pathHandle_t path);
/// Allows (true) or forbids (false, the setting at load) questions to the
/// user in the openPath calls that follow: whether to create the part
/// library in a database that has none, or to upgrade an older one. The
/// questions go to HostCallbacks::messageBox (hostservices/HostCallbacks.h).
/// Process-wide; set it from the thread that opens paths.
TXDB_EXPORT void doPromptValidationMsg(bool prompt);

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
