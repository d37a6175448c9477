# The extension's tests share one rig: the browser with the extension, and the host's launcher.
target_sources(${name} PRIVATE ${dir}/extension_rig.cpp)
