# The setup program is built before its test and found by its path in the build tree; the band's
# checks apply when this tree built GrabPlugin.dll and so packed it.
if(WIN32)
  add_dependencies(${name} setup)
  target_link_libraries(${name} PRIVATE ph_robot ph_json)
  target_compile_definitions(${name} PRIVATE PH_SETUP_EXE="${PH_SETUP_EXE}"
                             $<$<TARGET_EXISTS:GrabPlugin>:PH_BAND_BUILT>)
endif()
