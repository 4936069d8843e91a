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

// The entry points of the plug-in. Each creates one object and hands it out
// as a shared pointer; failures arrive as thrown Exception pointers.
TXDB_EXPORT int getCapabilities();
TXDB_EXPORT sourceHandle_t selectSource(CWnd *parent);
TXDB_EXPORT std::shared_ptr<Reader<PathData>> getPathDataReader(sourceHandle_t source);
TXDB_EXPORT std::shared_ptr<PathData> createPathData(sourceHandle_t source, TCHAR *path);
TXDB_EXPORT pathHandle_t openPath(CWnd *parent);
TXDB_EXPORT pathHandle_t openPath(TCHAR *path);
TXDB_EXPORT libraryReaderHandle_t getLibraryReader(pathHandle_t path, libraryFilterCompHandle_t filter);
TXDB_EXPORT std::shared_ptr<Writer<LibraryAccess>> getLibraryWriter(pathHandle_t path);
TXDB_EXPORT std::shared_ptr<Writer<LibHierarchyOnlyAccess>> getLibHierarchyOnlyWriter(pathHandle_t path);
TXDB_EXPORT void doPromptValidationMsg(bool prompt);

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
