# Under Wine the shell's program also runs the real PageHarvest.exe, driven by the robot.
if(WIN32)
  add_dependencies(${name} PageHarvest)
  target_link_libraries(${name} PRIVATE ph_robot ph_controller_intake version)
  target_compile_definitions(${name} PRIVATE PH_CONTROLLER_EXE="$<TARGET_FILE:PageHarvest>")
endif()
if(WIN32)
  target_sources(${name} PRIVATE ${dir}/win32/controller_program.cpp)
endif()
