# The extension's tests share one rig (the browser with the extension, and the host's launcher), and
# use grab as the host.
target_sources(${name} PRIVATE ${dir}/extension_rig.cpp)
target_compile_definitions(${name} PRIVATE PH_GRAB_PROGRAM="$<TARGET_FILE:grab>")
add_dependencies(${name} grab)
