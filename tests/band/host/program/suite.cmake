# Under Wine: the real PageHarvestHost.exe, driven as a browser drives it.
add_dependencies(${name} PageHarvestHost)
target_sources(${name} PRIVATE ${dir}/win32/host_process.cpp)
target_compile_definitions(${name} PRIVATE PH_HOST_EXE="$<TARGET_FILE:PageHarvestHost>")
