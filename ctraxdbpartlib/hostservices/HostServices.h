#pragma once

// The host services the plug-in calls, under the host's names. The
// interactive ones (message box, data-link prompt, report viewer) are
// replaced through the callback table of hostservices/HostCallbacks.h, the
// part of this library that a host sets.

#define HOSTSERVICES_API __attribute__((visibility("default")))

#include "hostservices/HostCallbacks.h"

#include <cstddef>
#include <string>

class CWnd;

extern "C++" {

// macros: asks the user; 6 (IDYES) means Yes, anything else No.
HOSTSERVICES_API int messageBoxHook(CWnd *owner, const char *text, const char *caption, unsigned style);
// The application's main window (none in a command-line host).
HOSTSERVICES_API CWnd *getMainWindow();

// sysutils: TXDB_AUTOTEST and TXDB_DEVCHECKS switches.
HOSTSERVICES_API int isAutotestEnabled();
HOSTSERVICES_API int isDevEnabled();

// memory
HOSTSERVICES_API char *mallocString(size_t length); // room for length characters and a NUL
HOSTSERVICES_API void freeMem(void *pointer);

// DISCIO: temporary and text files.
using TEXTFILE = void *;
HOSTSERVICES_API int makeTempFile(char *buffer); // buffer of at least 4096 bytes
HOSTSERVICES_API int openTextFile(const char *path, TEXTFILE *handle, int write, int create);
HOSTSERVICES_API void asciiTextFile(TEXTFILE handle);
HOSTSERVICES_API int printTextFile(TEXTFILE handle, const char *text);
HOSTSERVICES_API void closeTextFile(TEXTFILE handle);
HOSTSERVICES_API int deleteFile(const char *path);

// reports: shows a text file to the user.
struct ReportRequest {
    int kind;
    int flags;
    int options;
    const char *path;
};
HOSTSERVICES_API int processReport(const char *path, const ReportRequest *request);

// SETTINGS
HOSTSERVICES_API int getDatabaseEncloseChars(const char *initialisationString, char *open, char *close, int flag);
HOSTSERVICES_API int getLibraryPathByFilename(const char *initialisationString);

// utility: natural, case-insensitive order (R2 before R10).
HOSTSERVICES_API int isFirstNameBeforeSecond(const char *first, const char *second);

// SETTINGSMFC
constexpr int DEFAULT_COMMAND_LIMIT = 65536;
constexpr int MIN_COMMAND_LIMIT = 256;
HOSTSERVICES_API const char *decryptConnectionStringPassword(const char *initialisationString);
HOSTSERVICES_API char *fixDatabaseCommandEncloseTC(const char *sql, char open, char close); // freeMem
// Takes from the comma list `pending` (items removed from it) as many items
// as fit, with prefix and suffix, under `limit` bytes (-1: the default of
// DEFAULT_COMMAND_LIMIT bytes); at least one item even when it alone is over
// the limit. Returns prefix + items + suffix (freeMem), or nullptr
// when the list is empty.
HOSTSERVICES_API char *extractToCommandStringToLimit(const char *prefix, std::string &pending, const char *suffix,
                                                     int limit);
// Halves the limit (-1 counts as DEFAULT_COMMAND_LIMIT), not below
// MIN_COMMAND_LIMIT; nonzero when it could lower it.
HOSTSERVICES_API int reduceDatabaseCommandStringLimit(int *limit);

// The data-link prompt as the plug-in calls it.
HOSTSERVICES_API bool promptDataLink(CWnd *parent, std::string &initialisationString);

} // extern "C++"
