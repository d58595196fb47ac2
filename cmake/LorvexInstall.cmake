# What `cmake --install` puts in place: liblorvex.so with its C header, the command-line
# tools that this tree builds, and the CMake package that lets another project write
#   find_package(Lorvex 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE Lorvex::lorvex)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(LORVEX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lorvex)

# An installed consumer includes <lorvex.h>, as a consumer of the build tree does.
target_include_directories(lorvex PUBLIC
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/lorvex>)
set_target_properties(lorvex PROPERTIES
  PUBLIC_HEADER ${CMAKE_CURRENT_SOURCE_DIR}/host/c_api/lorvex.h
  EXPORT_NAME lorvex)

install(TARGETS lorvex EXPORT LorvexTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lorvex)

# Whichever command-line and desktop tools this configuration builds.
foreach(tool lorvex_cli lorvex_gui)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(EXPORT LorvexTargets NAMESPACE Lorvex:: DESTINATION ${LORVEX_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LorvexConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/LorvexConfig.cmake
  INSTALL_DESTINATION ${LORVEX_INSTALL_CMAKEDIR})
# The C interface only grows within a major version; the library's SONAME follows it.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/LorvexConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LorvexConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/LorvexConfigVersion.cmake
        DESTINATION ${LORVEX_INSTALL_CMAKEDIR})
