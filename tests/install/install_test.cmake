# Installs the build into a fresh prefix, moves the installed tree elsewhere (the package
# must not depend on where it was installed), then configures, builds and runs a small
# outside C project against it.
#   cmake -DBUILD_DIR=... -DCONSUMER_DIR=... -DWORK_DIR=... -DEXPECTED_VERSION=...
#         [-DCONFIG=...] [-DCONSUMER_C_COMPILER=... -DCONSUMER_LINK_FLAGS=...]
#         -P install_test.cmake
# The CONSUMER_ options build the outside project with another compiler and link flags: a
# library built with the sanitizers needs their runtime in the program that links it.
foreach(variable BUILD_DIR CONSUMER_DIR WORK_DIR EXPECTED_VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "install_test.cmake needs -D${variable}=...")
  endif()
endforeach()

# Everything runs in WORK_DIR, where no kessett/default.kst changes the consumer's world.
function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(installed ${WORK_DIR}/installed)
set(moved ${WORK_DIR}/moved)
set(config_option)
if(CONFIG)
  set(config_option --config ${CONFIG})
endif()

run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${installed} ${config_option})
file(RENAME ${installed} ${moved})

file(GLOB_RECURSE header ${moved}/include/lorvex/lorvex.h)
file(GLOB_RECURSE library ${moved}/lib*/liblorvex.so)
file(GLOB_RECURSE package ${moved}/lib*/cmake/Lorvex/LorvexConfig.cmake)
foreach(piece header library package)
  if(NOT ${piece})
    message(FATAL_ERROR "the installed tree has no ${piece}")
  endif()
endforeach()
if(NOT EXISTS ${moved}/bin/lorvex)
  message(FATAL_ERROR "the installed tree has no bin/lorvex")
endif()
# The installed tool runs from the moved tree.
run("the installed lorvex" ${moved}/bin/lorvex --version)
if(NOT last_output STREQUAL "lorvex ${EXPECTED_VERSION}\n")
  message(FATAL_ERROR "the installed lorvex said: ${last_output}")
endif()

set(consumer_build ${WORK_DIR}/consumer-build)
set(consumer_options)
if(CONSUMER_C_COMPILER)
  list(APPEND consumer_options -DCMAKE_C_COMPILER=${CONSUMER_C_COMPILER})
endif()
if(CONSUMER_LINK_FLAGS)
  list(APPEND consumer_options "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_LINK_FLAGS}")
endif()
run("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build}
    -DCMAKE_PREFIX_PATH=${moved} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF ${consumer_options})
file(STRINGS ${consumer_build}/CMakeCache.txt found_dir REGEX "^Lorvex_DIR:")
string(FIND "${found_dir}" "${moved}/" at)
if(NOT at GREATER -1)
  message(FATAL_ERROR "the consumer found another Lorvex package: ${found_dir}")
endif()
run("building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
run("running the consumer" ${consumer_build}/lorvex_consumer)
string(FIND "${last_output}" "Lorvex ${EXPECTED_VERSION} from the installed package" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the consumer said: ${last_output}")
endif()
message(STATUS "${last_output}")
