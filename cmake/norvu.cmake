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

# setup.exe's own code passes call arguments with pushes, not through an
# area for outgoing arguments reserved in each frame, which mingw keeps by
# default for its stack probes: the installer's stub is about a tenth
# smaller. Without probes, a frame must stay below a page of the stack (4 KB,
# less what calls push), or its first touch could pass the guard page that
# grows the stack; the build refuses a larger one, in the link-time code
# generation too (the setup target's own flags).
function(norvu_setup_flags target)
  set(flags -mno-accumulate-outgoing-args -mno-stack-arg-probe -Werror=frame-larger-than=3900)
  target_compile_options(${target} PRIVATE ${flags})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE ${flags})
  endif()
endfunction()

# Windows programs of ours: statically linked, so that they need nothing but
# the system DLLs under Wine. Each keeps its relocation table and may be
# moved by ASLR (DYNAMIC_BASE), its data never runs (NX_COMPAT), and it says
# that it registers no structured exception handler (NO_SEH: nothing of ours
# links a frame into the chain at %fs:0, which make test checks), so the
# system dispatches to none. A program also works without the compatibility
# shims Windows applies to one not built for terminal servers.
function(norvu_windows_program target)
  target_link_options(${target} PRIVATE -static -Wl,--gc-sections -Wl,--dynamicbase,--nxcompat,--no-seh)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE -Wl,--tsaware)
  endif()
endfunction()

# setup.exe and unsetup.exe start at SetupEntry (shell/startup.cpp) instead
# of the C runtime's start-up, which would only add kilobytes. That entry
# runs no static constructors or destructors: the link map is read after
# each link, and the build fails when the program has one.
#   norvu_small_entry(target [library functions...])
# The functions named are those of the program that GCC calls only from the
# code it generates at link time (strlen, memmove, fwrite for fputs, the
# stack probe __chkstk_ms for a large frame): no object's symbol table names
# them, so ld takes them from their libraries after the link-time code
# generation, and ld 2.40 then crashes (signal 11) writing the relocation
# table, on the output section of the late member's .text, which it never
# set. Named here, they are taken at the start. Should a change make the
# link crash so, a link with -Wl,--disable-reloc-section goes through, and
# its map names the member taken for the ltrans object.
function(norvu_small_entry target)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  set(early "")
  foreach(call ${ARGN})
    list(APPEND early -Wl,-u,_${call})
  endforeach()
  target_link_options(${target} PRIVATE
    -Os -flto -nostartfiles -Wl,-e,_SetupEntry@0 ${early} -Wl,-Map,${map})
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

# Each program we ship carries the version resource of resources/version.rc
# with its own description and file name, through a script made here; when
# the build signs, its signature carries the same description (norvu_sign,
# right after the link, so that a payload compresses the signed program).
#   norvu_version_resource(target "description")
function(norvu_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(file_type VFT_APP)
  else()
    set(file_type VFT_DLL)
  endif()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  file(GENERATE OUTPUT ${script} CONTENT "/* Made by the build. */
#define NORVU_FILE_DESCRIPTION \"${description}\"
#define NORVU_INTERNAL_NAME \"$<TARGET_FILE_BASE_NAME:${target}>\"
#define NORVU_FILE_NAME \"$<TARGET_FILE_NAME:${target}>\"
#define NORVU_FILE_TYPE ${file_type}
#include \"${CMAKE_SOURCE_DIR}/resources/version.rc\"
")
  set_source_files_properties(${script} PROPERTIES GENERATED TRUE OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/version.rc;${CMAKE_SOURCE_DIR}/resources/product_version.h")
  target_sources(${target} PRIVATE ${script})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  norvu_sign(${target} "${description}")
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
# NORVU_WINE_TIMEOUT: seconds each entry may take; a machine that emulates
# the processor (qemu without KVM) needs several times the default.
set(NORVU_WINE_TIMEOUT 300 CACHE STRING "Seconds each test under Wine may take")
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
  set_tests_properties(${entries} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT ${NORVU_WINE_TIMEOUT} SKIP_RETURN_CODE 77)
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
