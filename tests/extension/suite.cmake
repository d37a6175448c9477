# The extension's tests share one rig per browser (the browser with the extension, and the host's
# launcher), and use grab as the host; in Firefox grab also registers the host (grab host --install).
target_sources(${name} PRIVATE ${dir}/extension_rig.cpp ${dir}/chromium_rig.cpp ${dir}/firefox_rig.cpp
                               ${dir}/firefox_process.cpp ${dir}/bidi_session.cpp ${dir}/websocket_client.cpp)
target_compile_definitions(${name} PRIVATE PH_GRAB_PROGRAM="$<TARGET_FILE:grab>")
add_dependencies(${name} grab)
