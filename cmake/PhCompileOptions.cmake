# Warnings, sanitizers and Windows defines shared by every target of the tree.
add_library(ph_options INTERFACE)
target_compile_options(ph_options INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
target_include_directories(ph_options INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  # ANSI entry points are the system's own (the registry and window text are narrow strings);
  # ODBC is the exception and is called through its ...W functions explicitly.
  target_compile_definitions(ph_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
elseif(PH_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # Everything the fuzz targets link is instrumented for coverage, so that libFuzzer sees into it.
  target_compile_options(ph_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  target_link_options(ph_options INTERFACE -fsanitize=address,undefined)
elseif(PH_SANITIZE)
  target_compile_options(ph_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(ph_options INTERFACE -fsanitize=address,undefined)
endif()
