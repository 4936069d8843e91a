#!/bin/sh
# Checks the dynamic symbol table of the plug-in: the ten entry points are
# exported, and nothing of the implementation (namespace DBIMPL, the logger
# and its switch) is. Weak instantiations of the standard library may appear.
# Usage: check-exports.sh [path/to/libctraxdbpartlib.so]
set -u

lib=${1:-${TXDB_BINARY_DIR:-build}/libctraxdbpartlib.so}
if [ ! -f "$lib" ]; then
    echo "check-exports: no library at $lib" >&2
    exit 2
fi

symbols=$(nm -D --defined-only -C "$lib" | cut -d' ' -f3-) || exit 2
ns=COM_ORVEL_TRAX_PLDAIO_INTERFACE
status=0

for entry in \
    "getCapabilities()" \
    "selectSource(CWnd*)" \
    "getPathDataReader(std::shared_ptr<$ns::Source>)" \
    "createPathData(std::shared_ptr<$ns::Source>, char*)" \
    "openPath(CWnd*)" \
    "openPath(char*)" \
    "getLibraryReader(std::shared_ptr<$ns::Path>, std::shared_ptr<$ns::Component<$ns::LibFilter> >)" \
    "getLibraryWriter(std::shared_ptr<$ns::Path>)" \
    "getLibHierarchyOnlyWriter(std::shared_ptr<$ns::Path>)" \
    "doPromptValidationMsg(bool)"; do
    if ! printf '%s\n' "$symbols" | grep -qxF "$ns::$entry"; then
        echo "check-exports: missing entry point $ns::$entry" >&2
        status=1
    fi
done

# Every exported symbol of our namespace must be one of the ten, so anything
# else naming it (implementation classes, globals, vtables) is a leak.
leaks=$(printf '%s\n' "$symbols" | grep -E "$ns|DBIMPL|theLogger|loggingEnabled" |
    grep -vE "^$ns::(getCapabilities|selectSource|getPathDataReader|createPathData|openPath|getLibraryReader|getLibraryWriter|getLibHierarchyOnlyWriter|doPromptValidationMsg)\(")
if [ -n "$leaks" ]; then
    echo "check-exports: implementation symbols exported:" >&2
    printf '%s\n' "$leaks" >&2
    status=1
fi

[ $status -eq 0 ] && echo "check-exports: $lib exports the ten entry points and no implementation symbols"
exit $status
