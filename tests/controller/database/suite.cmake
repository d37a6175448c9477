# CTest fixtures of the database tests: a MariaDB server on loopback and the ODBC configuration.

# The server and the driver manager's configuration are made in the build tree before the tests;
# after them the sqlite3 and mariadb clients check that the program's rows arrived, and the server
# stops.
# Included by ph_add_test_suite for controller_database_tests.

# The test of the connection strings checks them against the settings store's own.
target_link_libraries(controller_database_tests PRIVATE ph_controller_shell)

set(_db_dir ${CMAKE_BINARY_DIR}/database-fixture)
set(_db_script ${CMAKE_CURRENT_LIST_DIR}/database_fixture.sh)
set(_db_env "ODBCSYSINI=${_db_dir}" "ODBCINI=${_db_dir}/odbc.ini" "PH_DATABASE_FIXTURE=${_db_dir}"
            "PH_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
            "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:fast_unwind_on_malloc=0")
if(WIN32)
  set(_db_tag wine)
else()
  set(_db_tag native)
endif()

add_test(NAME controller_database_tests.server_start COMMAND ${_db_script} start ${_db_dir})
add_test(NAME controller_database_tests.server_stop COMMAND ${_db_script} stop ${_db_dir})
add_test(NAME controller_database_tests.rows_arrived COMMAND ${_db_script} check ${_db_dir} ${_db_tag})
set_tests_properties(controller_database_tests.server_start PROPERTIES FIXTURES_SETUP ph_database_server)
set_tests_properties(controller_database_tests.server_stop PROPERTIES FIXTURES_CLEANUP ph_database_server)
# Runs after the test that writes the marked rows, while the server is still up.
set_tests_properties(controller_database_tests.rows_arrived PROPERTIES
  FIXTURES_REQUIRED ph_database_server FIXTURES_CLEANUP ph_database_rows)

if(WIN32)
  set_tests_properties(wine.controller_database_tests PROPERTIES
    FIXTURES_REQUIRED "ph_database_server;ph_database_rows" ENVIRONMENT "${_db_env}")
else()
  # The tests are discovered after the build; this script, read by CTest after the list of
  # discovered tests, hands the fixture and its environment to each of them.
  set(_db_props ${CMAKE_CURRENT_BINARY_DIR}/controller_database_tests_fixture.cmake)
  file(WRITE ${_db_props}
    "foreach(_test IN LISTS controller_database_tests_TESTS)\n"
    "  set(_fixtures ph_database_server)\n"
    "  if(_test MATCHES \"[.]RowsArrive[.]\")\n"
    "    list(APPEND _fixtures ph_database_rows)\n"
    "  endif()\n"
    "  set_tests_properties(\${_test} PROPERTIES\n"
    "    FIXTURES_REQUIRED \"\${_fixtures}\" ENVIRONMENT \"${_db_env}\")\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_db_props})
endif()
