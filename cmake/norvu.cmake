# Shared build settings for both halves.

# Product code is built for size: no exceptions, no RTTI, unused functions
# dropped at link time. No -fdata-sections: on PE it moves zero-filled
# globals out of .bss into the file.
function(norvu_product_flags target)
  target_compile_options(${target} PRIVATE
    -Os -flto -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -fno-stack-protector
    -Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
endfunction()

# Windows programs of ours: statically linked, so that they need nothing but
# the system DLLs under Wine.
function(norvu_windows_program target)
  target_link_options(${target} PRIVATE -static -Wl,--gc-sections)
endfunction()

# setup.exe and unsetup.exe start at SetupEntry (shell/startup.cpp) instead
# of the C runtime's start-up, which would only add kilobytes, and have no
# relocation table (the image always loads at its preferred base). That
# entry runs no static constructors or destructors: the link map is read
# after each link, and the build fails when the program has one.
function(norvu_small_entry target)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_link_options(${target} PRIVATE
    -Os -flto -nostartfiles -Wl,-e,_SetupEntry@0 -Wl,--disable-reloc-section -Wl,-Map,${map})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-constructors.sh ${map} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# The programs we ship carry a fixed link time stamp, so that two builds of
# one commit give the same bytes: SOURCE_DATE_EPOCH when it is set (the
# linker takes it from its environment), else 0.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(NORVU_LINK_TIMESTAMP $ENV{SOURCE_DATE_EPOCH})
else()
  set(NORVU_LINK_TIMESTAMP 0)
endif()
function(norvu_fixed_timestamp target)
  if(NORVU_LINK_TIMESTAMP)
    set_property(TARGET ${target} PROPERTY CXX_LINKER_LAUNCHER
      ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${NORVU_LINK_TIMESTAMP})
  else()
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
  endif()
endfunction()

# setup.exe and unsetup.exe ask to run as administrator: their manifest,
# resource type 24, id 1. The resource compiler's dependency scan does not
# see the manifest file that the script names, so it is named here.
function(norvu_manifest target)
  set(script ${CMAKE_SOURCE_DIR}/resources/manifest.rc)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/program.manifest)
  target_sources(${target} PRIVATE ${script})
endfunction()

# Native test builds of the pure rules run under the sanitizers.
set(NORVU_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
function(norvu_sanitize target)
  target_compile_options(${target} PRIVATE ${NORVU_SANITIZE_FLAGS} -g -O1 -Wall -Wextra)
  target_link_options(${target} PUBLIC ${NORVU_SANITIZE_FLAGS})
endfunction()

# GoogleTest from the system's sources, built with whichever compiler this
# build uses.
macro(norvu_googletest)
  if(NOT TARGET gtest_main)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# A test that runs under Wine inside the shared test session (prefix,
# wineserver, Xvfb and drives), started once per CTest run:
#   norvu_wine_test(name program args... [SCREEN] [ALONE Suite.Case...])
# Exit code 77 means not run (tests/run_cases.h). The cases after ALONE may
# skip (they need what the session could not make, such as a mounted
# drive): each runs in an entry of its own, <name>.<Suite>.<Case>, so that
# its skip shows in CTest's summary; the entry <name> runs the others.
# SCREEN: the program's windows take the front of the shared screen, where
# the end-to-end tests give real input, so its entries hold the screen lock.
function(norvu_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "SCREEN" "" "ALONE")
  set(entries ${name})
  set(others "")
  foreach(case ${arg_ALONE})
    add_test(NAME ${name}.${case} COMMAND ${arg_UNPARSED_ARGUMENTS} --gtest_filter=${case})
    list(APPEND entries ${name}.${case})
    string(APPEND others ":${case}")
  endforeach()
  if(others)
    string(SUBSTRING "${others}" 1 -1 others)
    add_test(NAME ${name} COMMAND ${arg_UNPARSED_ARGUMENTS} --gtest_filter=-${others})
  else()
    add_test(NAME ${name} COMMAND ${arg_UNPARSED_ARGUMENTS})
  endif()
  set_tests_properties(${entries} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 300 SKIP_RETURN_CODE 77)
  if(arg_SCREEN)
    set_tests_properties(${entries} PROPERTIES RESOURCE_LOCK norvu_screen)
  endif()
endfunction()

# A test whose program is a native one from the native build; 77 means not
# run, as under Wine.
function(norvu_native_test name program)
  add_test(NAME ${name} COMMAND ${NORVU_NATIVE_BUILD}/bin/${program} ${ARGN})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()
