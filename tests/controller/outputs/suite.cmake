# The outputs test program carries the identity style sheet as the controller does, so that the XML
# writer finds it in its own module under Windows.
if(WIN32)
  target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/resources/xsl.rc)
endif()
