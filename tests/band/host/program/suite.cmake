# Under Wine: the real PageHarvestHost.exe, driven as a browser drives it, handing selections to the
# real PageHarvest.exe, answered by the robot.
add_dependencies(${name} PageHarvestHost PageHarvest)
target_sources(${name} PRIVATE ${dir}/win32/host_process.cpp
               ${PROJECT_SOURCE_DIR}/tests/controller/shell/win32/controller_program.cpp)
target_link_libraries(${name} PRIVATE ph_band_live ph_robot)
target_compile_definitions(${name} PRIVATE PH_HOST_EXE="$<TARGET_FILE:PageHarvestHost>"
                           PH_CONTROLLER_EXE="$<TARGET_FILE:PageHarvest>")
