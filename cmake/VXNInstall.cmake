# Installation: the library (with its SONAME), the public header, the voice
# directory with the language modules, a pkg-config file and a CMake package
# (find_package(VXN) gives the imported target VXN::engine and VXN_VOICE_DIR).
# Tools, man pages and the speech-dispatcher module install from their folders.
include(CMakePackageConfigHelpers)

install(TARGETS VXN_engine_sh EXPORT VXNTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/vxn_engine.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The voices are build outputs (scripts/build-voices.sh); what the build tree
# holds is installed with each package's description and licence. The modules
# install as targets (see modules/) so that they get their run path.
install(DIRECTORY ${CMAKE_BINARY_DIR}/voice/ DESTINATION ${VXN_VOICE_INSTALL_DIR}
  PATTERN "Lib" EXCLUDE PATTERN "*.import.txt" EXCLUDE)
install(DIRECTORY DESTINATION ${VXN_VOICE_INSTALL_DIR}/Data)

# pkg-config: relocatable, the prefix is found from the .pc file's place.
set(VXN_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VXN_PC_TO_PREFIX /prefix/${VXN_PC_DIR} /prefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/vxn-engine.pc.in ${CMAKE_BINARY_DIR}/vxn-engine.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vxn-engine.pc DESTINATION ${VXN_PC_DIR})

set(VXN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VXN)
install(EXPORT VXNTargets NAMESPACE VXN:: DESTINATION ${VXN_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/VXNConfig.cmake.in
  ${CMAKE_BINARY_DIR}/VXNConfig.cmake INSTALL_DESTINATION ${VXN_CMAKE_DIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR VXN_VOICE_INSTALL_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VXNConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VXNConfig.cmake ${CMAKE_BINARY_DIR}/VXNConfigVersion.cmake
  DESTINATION ${VXN_CMAKE_DIR})
