#include "ctraxdbpartlib/CTraxDBPartLib.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// promptValidationMsg is defined with the path that reads it (CTraxDBPath.cpp).
using namespace DBIMPL;

int getCapabilities() {
    TXDB_TRACE(LOG_FINE, "getCapabilities");
    return 0x70C3;
}

sourceHandle_t selectSource(CWnd *) {
    TXDB_TRACE(LOG_FINE, "selectSource(CWnd *)");
    TXDB_RAISE_TEXT("selectSource is not available in this build");
}

std::shared_ptr<Reader<PathData>> getPathDataReader(sourceHandle_t) {
    TXDB_TRACE(LOG_FINE, "getPathDataReader(sourceHandle_t)");
    TXDB_RAISE_TEXT("getPathDataReader is not available in this build");
}

std::shared_ptr<PathData> createPathData(sourceHandle_t, TCHAR *) {
    TXDB_TRACE(LOG_FINE, "createPathData(sourceHandle_t,TCHAR *)");
    return std::shared_ptr<PathData>();
}

pathHandle_t openPath(CWnd *) {
    TXDB_TRACE(LOG_FINE, "openPath(CWnd *)");
    TXDB_RAISE_TEXT("openPath is not available in this build");
}

pathHandle_t openPath(TCHAR *) {
    TXDB_TRACE(LOG_FINE, "openPath(TCHAR *)");
    TXDB_RAISE_TEXT("openPath is not available in this build");
}

libraryReaderHandle_t getLibraryReader(pathHandle_t, libraryFilterCompHandle_t) {
    TXDB_TRACE(LOG_FINE, "getLibraryReader(pathHandle_t,libraryFilterCompHandle_t)");
    TXDB_RAISE_TEXT("getLibraryReader is not available in this build");
}

std::shared_ptr<Writer<LibraryAccess>> getLibraryWriter(pathHandle_t) {
    TXDB_TRACE(LOG_FINE, "getLibraryWriter(pathHandle_t)");
    TXDB_RAISE_TEXT("getLibraryWriter is not available in this build");
}

std::shared_ptr<Writer<LibHierarchyOnlyAccess>> getLibHierarchyOnlyWriter(pathHandle_t) {
    TXDB_TRACE(LOG_FINE, "getLibHierarchyOnlyWriter(pathHandle_t)");
    TXDB_RAISE_TEXT("getLibHierarchyOnlyWriter is not available in this build");
}

void doPromptValidationMsg(bool prompt) {
    TXDB_TRACE(LOG_FINE, "doPromptValidationMsg(bool)");
    promptValidationMsg = prompt;
}

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
