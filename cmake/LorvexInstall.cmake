# What `cmake --install` puts in place: liblorvex.so with its C header and, beside it,
# liblorvex-qt.so, the window it opens; the command-line tools that this tree builds; the
# CMake package that lets another project write
#   find_package(Lorvex 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE Lorvex::lorvex)
# and lorvex.pc beside it for `pkg-config --cflags --libs lorvex`.
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
# The window on the screen, beside liblorvex.so, which opens it from its own folder. It is
# no part of the CMake package: nothing links it.
if(TARGET lorvex_qt_window)
  install(TARGETS lorvex_qt_window LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

# Whichever command-line and desktop tools this configuration builds. They find the
# libraries of this tree beside them, through $ORIGIN, in the build tree (bin/../lib) and
# installed (bin/../LIBDIR), and every other library in the system's folders; never in the
# working folder. They are linked with that one RUNPATH and installed as they are: a RUNPATH
# rewritten at install gets an empty entry in the build tree (CMake leaves room for the
# rewrite), which the loader reads as the working folder.
set(LORVEX_RUNPATH "$ORIGIN/../lib")
if(NOT CMAKE_INSTALL_LIBDIR STREQUAL "lib")
  string(APPEND LORVEX_RUNPATH ":$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
endif()
foreach(tool lorvex_cli lorvex_gui)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES
      INSTALL_RPATH "${LORVEX_RUNPATH}" BUILD_WITH_INSTALL_RPATH ON)
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

# lorvex.pc in LIBDIR/pkgconfig, its prefix relative to itself so that the installed tree
# may be moved.
file(RELATIVE_PATH LORVEX_PC_PREFIX_FROM_PCDIR
     "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" LORVEX_PC_PREFIX_FROM_PCDIR "${LORVEX_PC_PREFIX_FROM_PCDIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/lorvex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/lorvex.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lorvex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
