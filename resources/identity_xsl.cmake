# Compiles the identity style sheet into the native build as the very bytes the Windows program
# carries as a resource: resources/identity.xsl becomes the array of resources/identity_xsl.h (an
# array rather than a string literal, which would lose the file's CR LF line ends).
set(_xsl ${PROJECT_SOURCE_DIR}/resources/identity.xsl)
set(_generated ${PROJECT_BINARY_DIR}/generated)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_xsl})
file(READ ${_xsl} _hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," PH_IDENTITY_XSL_BYTES "${_hex}")
configure_file(${PROJECT_SOURCE_DIR}/resources/identity_xsl.h.in ${_generated}/resources/identity_xsl.h @ONLY)
target_include_directories(ph_controller_outputs PRIVATE ${_generated})
