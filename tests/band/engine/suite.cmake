# The engine's tests on real pages need the in-memory document, which only the native tree has.
if(NOT WIN32)
  target_link_libraries(${name} PRIVATE ph_memory_document)
endif()
