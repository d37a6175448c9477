# One static library per folder of the core, and one GoogleTest program per folder of tests/.
#
# A component takes every .cpp of its folder plus those of the platform subfolder that fits the
# build (win32/ or posix/), so adding a file needs no edit here.  The portable files are compiled
# by the native tree too, which has no <windows.h>: including it there breaks the build.

function(ph_add_component target dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _portable CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB _platform CONFIGURE_DEPENDS ${dir}/${PH_PLATFORM}/*.cpp)
  if(NOT _portable AND NOT _platform)
    # A folder that has no code yet still gives a target, so that others can name it.
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ph_options ${ARG_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${_portable} ${_platform})
  target_link_libraries(${target} PUBLIC ph_options ${ARG_DEPS})
endfunction()

# Windows programs that run the controller's code get the controller's manifest, and with it the
# same ANSI code page (UTF-8).
function(ph_use_controller_manifest target)
  set(_rc ${PROJECT_SOURCE_DIR}/resources/page_harvest_manifest.rc)
  target_sources(${target} PRIVATE ${_rc})
  set_property(SOURCE ${_rc} APPEND PROPERTY OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/page_harvest.manifest)
  set_property(SOURCE ${_rc} APPEND PROPERTY COMPILE_OPTIONS -I${PROJECT_SOURCE_DIR}/resources)
endfunction()

# ph_add_test_suite(NAME DIR [SYSTEM_CODE_PAGE] [DEPS libs...])
# Native: every *_test.cpp of DIR and DIR/posix, each test listed in CTest.
# Windows: every *_test.cpp of DIR and DIR/win32, run as one program under Wine, with the
# controller's UTF-8 code page; SYSTEM_CODE_PAGE leaves the program the system's own (Windows-1252).
function(ph_add_test_suite name dir)
  cmake_parse_arguments(ARG "SYSTEM_CODE_PAGE" "" "DEPS" ${ARGN})
  file(GLOB _portable CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  file(GLOB _platform CONFIGURE_DEPENDS ${dir}/${PH_PLATFORM}/*_test.cpp)
  if(NOT _portable AND NOT _platform)
    return()
  endif()
  add_executable(${name} ${_portable} ${_platform})
  target_link_libraries(${name} PRIVATE ph_test_support ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(WIN32)
    if(NOT ARG_SYSTEM_CODE_PAGE)
      ph_use_controller_manifest(${name})
    endif()
    add_test(NAME wine.${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(wine.${name} PROPERTIES
      LABELS wine TIMEOUT 300 ENVIRONMENT "PH_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  else()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS native ENVIRONMENT "PH_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
  # A folder may add what its program needs beyond this (resources, fixtures that start servers).
  if(EXISTS ${dir}/suite.cmake)
    include(${dir}/suite.cmake)
  endif()
endfunction()
