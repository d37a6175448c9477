# The extension's page helper, compiled into the DevTools binding as the very bytes of
# extension/page/page_helper.js: grab puts the same script into the pages it shows as the extension does.
set(_script ${PROJECT_SOURCE_DIR}/extension/page/page_helper.js)
set(_generated ${PROJECT_BINARY_DIR}/generated)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_script})
file(READ ${_script} _hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," PH_PAGE_HELPER_BYTES "${_hex}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/page_helper_script.h.in ${_generated}/band/cdp/page_helper_script.h @ONLY)
target_include_directories(ph_band_cdp PRIVATE ${_generated})
