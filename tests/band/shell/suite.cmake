# Under Wine: the real GrabPlugin.dll in a stand-in browser window, handing content to the real PageHarvest.exe.
if(WIN32)
  add_dependencies(${name} GrabPlugin PageHarvest)
  target_sources(${name} PRIVATE ${dir}/win32/attached_band.cpp ${dir}/win32/band_library.cpp ${dir}/win32/browser_host.cpp
                 ${dir}/win32/stand_in_browser.cpp
                 ${PROJECT_SOURCE_DIR}/tests/controller/shell/win32/controller_program.cpp)
  target_link_libraries(${name} PRIVATE ph_robot ph_mshtml_standin ${PH_WIN32_LIBS})
  target_compile_definitions(${name} PRIVATE PH_BAND_DLL="$<TARGET_FILE:GrabPlugin>"
                             PH_CONTROLLER_EXE="$<TARGET_FILE:PageHarvest>")
endif()
