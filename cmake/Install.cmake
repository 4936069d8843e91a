# What `cmake --install` puts under the prefix for a host application: the
# plug-in and the host-services library, the headers a host includes
# (interface/ and hostservices/HostCallbacks.h, under include/CTraxDBPartLib),
# a CMake package (find_package(CTraxDBPartLib) gives the imported targets
# CTraxDBPartLib::ctraxdbpartlib and CTraxDBPartLib::hostservices) and a
# pkg-config file (ctraxdbpartlib.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TXDB_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/CTraxDBPartLib)
set(TXDB_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/CTraxDBPartLib)

target_include_directories(hostservices INTERFACE $<INSTALL_INTERFACE:${TXDB_INSTALL_INCLUDEDIR}>)
target_include_directories(ctraxdbpartlib INTERFACE $<INSTALL_INTERFACE:${TXDB_INSTALL_INCLUDEDIR}>)
# The installed plug-in finds the host-services library beside it.
set_target_properties(ctraxdbpartlib hostservices PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS ctraxdbpartlib hostservices EXPORT CTraxDBPartLibTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY interface DESTINATION ${TXDB_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES hostservices/HostCallbacks.h DESTINATION ${TXDB_INSTALL_INCLUDEDIR}/hostservices)
install(EXPORT CTraxDBPartLibTargets NAMESPACE CTraxDBPartLib:: DESTINATION ${TXDB_INSTALL_CMAKEDIR})

configure_package_config_file(cmake/CTraxDBPartLibConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/CTraxDBPartLibConfig.cmake INSTALL_DESTINATION ${TXDB_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/CTraxDBPartLibConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/CTraxDBPartLibConfig.cmake
              ${CMAKE_BINARY_DIR}/package/CTraxDBPartLibConfigVersion.cmake
        DESTINATION ${TXDB_INSTALL_CMAKEDIR})

# pkg-config: the paths relative to where the .pc file lies, so that the
# package may be installed under any prefix (cmake --install --prefix).
file(RELATIVE_PATH TXDB_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" TXDB_PC_TO_PREFIX "${TXDB_PC_TO_PREFIX}")
configure_file(cmake/ctraxdbpartlib.pc.in ${CMAKE_BINARY_DIR}/package/ctraxdbpartlib.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/ctraxdbpartlib.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
