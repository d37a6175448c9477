# The engine's tests on real pages (gumbo/) need the in-memory document, which only the native tree has.
if(TARGET ph_memory_document)
  file(GLOB _gumbo_tests CONFIGURE_DEPENDS ${dir}/gumbo/*_test.cpp)
  target_sources(${name} PRIVATE ${_gumbo_tests})
  target_link_libraries(${name} PRIVATE ph_memory_document)
endif()
