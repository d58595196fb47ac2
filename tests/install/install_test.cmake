# Installs the build into a fresh prefix and moves the installed tree elsewhere (the package
# must not depend on where it was installed), with the window's library beside liblorvex.so
# and no Qt needed by liblorvex.so itself. Then builds the C program of the README's
# "Hosting Lorvex" twice against the moved tree, once as a CMake project and once with
# `pkg-config --cflags --libs lorvex`, and runs both. Every program, of the build tree and
# of the installed one, runs in a folder that holds libraries of the names they need which
# end the process when loaded: none of them may be loaded.
#   cmake -DBUILD_DIR=... -DCONSUMER_DIR=... -DWORK_DIR=... -DEXPECTED_VERSION=...
#         -DREADME=... -DPLANTED_SOURCE=... -DC_COMPILER=... [-DCONFIG=...]
#         [-DCONSUMER_LINK_FLAGS=...] [-DBUILD_TREE_PROGRAMS=prog;prog;...] -P install_test.cmake
# CONSUMER_LINK_FLAGS: a library built with the sanitizers needs their runtime in the
# program that links it.
foreach(variable BUILD_DIR CONSUMER_DIR WORK_DIR EXPECTED_VERSION README PLANTED_SOURCE C_COMPILER)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "install_test.cmake needs -D${variable}=...")
  endif()
endforeach()

set(planted ${WORK_DIR}/planted)
# Runs a command in WORK_DIR; run_planted runs a program under test in the planted folder
# (where no kessett/default.kst changes a world either).
function(run_in folder what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${folder}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()
macro(run what)
  run_in(${WORK_DIR} "${what}" ${ARGN})
endmacro()
macro(run_planted what)
  run_in(${planted} "${what}" ${ARGN})
endmacro()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${planted})
foreach(name libpng16.so.16 libstdc++.so.6 liblorvex.so.1 liblorvex-qt.so libQt6Widgets.so.6 libgcc_s.so.1)
  run("building the planted ${name}" ${C_COMPILER} -shared -fPIC -o ${planted}/${name} ${PLANTED_SOURCE})
endforeach()

foreach(program IN LISTS BUILD_TREE_PROGRAMS)
  string(REPLACE "|" ";" command "${program}")
  run_planted("the build tree's ${program}" ${command})
endforeach()

set(installed ${WORK_DIR}/installed)
set(moved ${WORK_DIR}/moved)
set(config_option)
if(CONFIG)
  set(config_option --config ${CONFIG})
endif()
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${installed} ${config_option})
file(RENAME ${installed} ${moved})
file(GLOB_RECURSE pc_file ${moved}/lib*/pkgconfig/lorvex.pc)
file(GLOB_RECURSE package ${moved}/lib*/cmake/Lorvex/LorvexConfig.cmake)
if(NOT pc_file OR NOT package OR NOT EXISTS ${moved}/bin/lorvex)
  message(FATAL_ERROR "the installed tree lacks lorvex.pc, the CMake package or bin/lorvex")
endif()
# liblorvex.so needs nothing of Qt; the window's library, when this tree builds it, lies
# beside it and finds the libraries of this tree beside itself.
file(GLOB_RECURSE installed_library ${moved}/lib*/liblorvex.so)
get_filename_component(installed_libdir ${installed_library} DIRECTORY)
run("ldd of the installed liblorvex.so" ldd ${installed_library})
if(last_output MATCHES "libQt")
  message(FATAL_ERROR "the installed liblorvex.so needs Qt:\n${last_output}")
endif()
if(EXISTS ${BUILD_DIR}/lib/liblorvex-qt.so)
  if(NOT EXISTS ${installed_libdir}/liblorvex-qt.so)
    message(FATAL_ERROR "the window's library liblorvex-qt.so is not installed beside liblorvex.so")
  endif()
  run("readelf of the installed liblorvex-qt.so" readelf -d ${installed_libdir}/liblorvex-qt.so)
  string(FIND "${last_output}" "Library runpath: [$ORIGIN]" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the installed liblorvex-qt.so does not find its libraries beside itself:\n${last_output}")
  endif()
endif()
run_planted("the installed lorvex" ${moved}/bin/lorvex --version)
if(NOT last_output STREQUAL "lorvex ${EXPECTED_VERSION}\n")
  message(FATAL_ERROR "the installed lorvex said: ${last_output}")
endif()

# The README's C program, word for word: its first ```c block.
file(READ ${README} readme)
string(FIND "${readme}" "\n```c\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${README} has no ```c block")
endif()
math(EXPR start "${start} + 6")
string(SUBSTRING "${readme}" ${start} -1 program)
string(FIND "${program}" "\n```" end)
string(SUBSTRING "${program}" 0 ${end} program)
file(WRITE ${WORK_DIR}/host.c "${program}\n")

set(consumer_build ${WORK_DIR}/consumer-build)
set(consumer_options -DCMAKE_C_COMPILER=${C_COMPILER})
if(CONSUMER_LINK_FLAGS)
  list(APPEND consumer_options "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_LINK_FLAGS}")
endif()
run("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build}
    -DHOST_PROGRAM=${WORK_DIR}/host.c -DCMAKE_PREFIX_PATH=${moved}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF ${consumer_options})
file(STRINGS ${consumer_build}/CMakeCache.txt found_dir REGEX "^Lorvex_DIR:")
string(FIND "${found_dir}" "${moved}/" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the consumer found another Lorvex package: ${found_dir}")
endif()
run("building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
run_planted("running the consumer" ${consumer_build}/lorvex_consumer)
set(with_cmake "${last_output}")

# pkg-config, as the README shows it.
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run("pkg-config" pkg-config --cflags --libs lorvex)
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run("pkg-config's libdir" pkg-config --variable=libdir lorvex)
string(STRIP "${last_output}" libdir)
separate_arguments(link_flags UNIX_COMMAND "${CONSUMER_LINK_FLAGS}")
run("compiling host.c with pkg-config" ${C_COMPILER} ${WORK_DIR}/host.c -o ${WORK_DIR}/host ${flags}
    -Wl,-rpath,${libdir} ${link_flags})
run_planted("running host" ${WORK_DIR}/host)
if(NOT last_output STREQUAL with_cmake)
  message(FATAL_ERROR "one program, one seed, two worlds:\n${with_cmake}\n${last_output}")
endif()
string(FIND "${last_output}" "seed 42" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the README's program said: ${last_output}")
endif()
message(STATUS "${last_output}")
