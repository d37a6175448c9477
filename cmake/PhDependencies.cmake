# The libraries the ports are built on: Debian packages natively, Windows system DLLs when cross-built.
if(WIN32)
  set(PH_WIN32_LIBS wininet odbc32 ole32 oleaut32 uuid user32 gdi32 comdlg32 comctl32 shell32 shlwapi advapi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(URIPARSER REQUIRED IMPORTED_TARGET liburiparser)
  pkg_check_modules(GUMBO REQUIRED IMPORTED_TARGET gumbo)
  find_package(CURL REQUIRED)
  find_package(LibXml2 REQUIRED)
  find_package(LibXslt REQUIRED)
  find_package(ODBC REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
endif()

# JSON (the native messaging host, the DevTools protocol): Debian's header-only nlohmann-json in both
# trees. The cross compiler reaches it through a folder of the build tree that holds only a link to
# Debian's nlohmann/ folder, so that the rest of /usr/include (Linux's headers) stays off its path.
add_library(ph_json INTERFACE)
if(WIN32)
  find_path(PH_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(_json_include ${CMAKE_BINARY_DIR}/json_include)
  file(MAKE_DIRECTORY ${_json_include})
  file(CREATE_LINK ${PH_NLOHMANN_JSON_DIR}/nlohmann ${_json_include}/nlohmann SYMBOLIC)
  target_include_directories(ph_json SYSTEM INTERFACE ${_json_include})
else()
  target_link_libraries(ph_json INTERFACE nlohmann_json::nlohmann_json)
endif()
