# Under Wine the shell's program also runs the real PageHarvest.exe and the sender, driven by the
# robot. The database kind and the configuration pages reach the data sources of the database
# tests' fixture (the SQLite ODBC driver and the MariaDB server on loopback), configured for the
# driver manager in the build tree (ODBCSYSINI / ODBCINI) instead of /etc.
if(WIN32)
  add_dependencies(${name} PageHarvest ph-send)
  target_sources(${name} PRIVATE ${dir}/win32/controller_program.cpp)
  target_link_libraries(${name} PRIVATE ph_robot ph_controller_intake version)
  target_compile_definitions(${name} PRIVATE PH_CONTROLLER_EXE="$<TARGET_FILE:PageHarvest>"
                             PH_SENDER_EXE="$<TARGET_FILE:ph-send>")

  set(_odbc_dir ${CMAKE_BINARY_DIR}/database-fixture)
  set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED ph_database_server)
  set_property(TEST wine.${name} APPEND PROPERTY ENVIRONMENT
    "ODBCSYSINI=${_odbc_dir}" "ODBCINI=${_odbc_dir}/odbc.ini" "PH_DATABASE_FIXTURE=${_odbc_dir}"
    "PH_CONTROLLER_DSN=PageHarvest SQLite")
endif()
