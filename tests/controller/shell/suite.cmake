# Under Wine the shell's program also runs the real PageHarvest.exe and the sender, driven by the
# robot; the database kind writes through the SQLite ODBC driver, configured here for the driver
# manager in the build tree (ODBCSYSINI / ODBCINI) instead of /etc.
if(WIN32)
  add_dependencies(${name} PageHarvest ph-send)
  target_sources(${name} PRIVATE ${dir}/win32/controller_program.cpp)
  target_link_libraries(${name} PRIVATE ph_robot ph_controller_intake version)
  target_compile_definitions(${name} PRIVATE PH_CONTROLLER_EXE="$<TARGET_FILE:PageHarvest>"
                             PH_SENDER_EXE="$<TARGET_FILE:ph-send>")

  set(_odbc_dir ${CMAKE_BINARY_DIR}/controller-odbc)
  file(GLOB _sqlite_driver /usr/lib/*/odbc/libsqlite3odbc.so)
  if(_sqlite_driver)
    list(GET _sqlite_driver 0 _sqlite_driver)
    file(WRITE ${_odbc_dir}/odbcinst.ini
      "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=${_sqlite_driver}\nDontDLClose=1\n")
    file(WRITE ${_odbc_dir}/odbc.ini
      "[PageHarvest Controller]\nDriver=SQLite3\nDatabase=${_odbc_dir}/content.db\nTimeout=5000\n")
    set_property(TEST wine.${name} APPEND PROPERTY ENVIRONMENT
      "ODBCSYSINI=${_odbc_dir}" "ODBCINI=${_odbc_dir}/odbc.ini" "PH_CONTROLLER_DSN=PageHarvest Controller")
  endif()
endif()
