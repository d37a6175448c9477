# Compiles the identity style sheet into the native build, as the same text the Windows program
# carries as a resource: resources/identity.xsl becomes the string constant of resources/identity_xsl.h.
set(_xsl ${PROJECT_SOURCE_DIR}/resources/identity.xsl)
set(_generated ${PROJECT_BINARY_DIR}/generated)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_xsl})
file(READ ${_xsl} PH_IDENTITY_XSL)
configure_file(${PROJECT_SOURCE_DIR}/resources/identity_xsl.h.in ${_generated}/resources/identity_xsl.h @ONLY)
target_include_directories(ph_controller_outputs PRIVATE ${_generated})
