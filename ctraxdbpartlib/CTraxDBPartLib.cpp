#include "ctraxdbpartlib/CTraxDBPartLib.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBPathDataReader.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "ctraxdbpartlib/writers/CTraxDBLibHierarchyOnlyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBLibWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// promptValidationMsg is defined with the path that reads it (CTraxDBPath.cpp).
using namespace DBIMPL;

int getCapabilities() {
    TXDB_TRACE(LOG_FINE, "getCapabilities");
    return 0x70C3;
}

sourceHandle_t selectSource(CWnd *parent) {
    TXDB_TRACE(LOG_FINE, "selectSource(CWnd *)");
    return sourceHandle_t(new CTraxDBSource(parent));
}

std::shared_ptr<Reader<PathData>> getPathDataReader(sourceHandle_t source) {
    TXDB_TRACE(LOG_FINE, "getPathDataReader(sourceHandle_t)");
    return std::shared_ptr<Reader<PathData>>(new CTraxDBPathDataReader(source));
}

std::shared_ptr<PathData> createPathData(sourceHandle_t, TCHAR *) {
    TXDB_TRACE(LOG_FINE, "createPathData(sourceHandle_t,TCHAR *)");
    return std::shared_ptr<PathData>();
}

pathHandle_t openPath(CWnd *parent) {
    TXDB_TRACE(LOG_FINE, "openPath(CWnd *)");
    return pathHandle_t(new CTraxDBPath(parent));
}

pathHandle_t openPath(TCHAR *path) {
    TXDB_TRACE(LOG_FINE, "openPath(TCHAR *)");
    return pathHandle_t(new CTraxDBPath(path));
}

libraryReaderHandle_t getLibraryReader(pathHandle_t path, libraryFilterCompHandle_t filter) {
    TXDB_TRACE(LOG_FINE, "getLibraryReader(pathHandle_t,libraryFilterCompHandle_t)");
    return std::make_shared<CTraxDBLibReader>(std::move(path), std::move(filter));
}

std::shared_ptr<Writer<LibraryAccess>> getLibraryWriter(pathHandle_t path) {
    TXDB_TRACE(LOG_FINE, "getLibraryWriter(pathHandle_t)");
    return std::make_shared<CTraxDBLibWriter>(std::move(path));
}

std::shared_ptr<Writer<LibHierarchyOnlyAccess>> getLibHierarchyOnlyWriter(pathHandle_t path) {
    TXDB_TRACE(LOG_FINE, "getLibHierarchyOnlyWriter(pathHandle_t)");
    return std::make_shared<CTraxDBLibHierarchyOnlyWriter>(std::move(path));
}

void doPromptValidationMsg(bool prompt) {
    TXDB_TRACE(LOG_FINE, "doPromptValidationMsg(bool)");
    promptValidationMsg = prompt;
}

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
