# Under Windows the scenarios run through the MSHTML binding over the stand-in of the browser's document too.
if(WIN32)
  target_link_libraries(${name} PRIVATE ph_band_mshtml ph_mshtml_standin)
endif()
