# The render mode as a user runs it: the real binary, headless.
set(SMOKEDRIFT_CLI_DIR ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME cli.render_is_reproducible
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/render_reproducible.sh $<TARGET_FILE:smokedrift>)
add_test(NAME cli.bad_arguments_exit_2
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/bad_arguments.sh $<TARGET_FILE:smokedrift>)
add_test(NAME cli.render_memory_is_flat
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/render_memory_flat.sh $<TARGET_FILE:smokedrift>)
set_tests_properties(cli.render_is_reproducible cli.bad_arguments_exit_2 cli.render_memory_is_flat PROPERTIES LABELS render TIMEOUT 300
                     ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
# The sanitizer build holds freed memory in quarantine; keep it small so the comparison stays fair.
set_tests_properties(cli.render_memory_is_flat PROPERTIES
                     ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=4")
add_test(NAME cli.output_targets
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/output_targets.sh $<TARGET_FILE:smokedrift>)
set_tests_properties(cli.output_targets PROPERTIES LABELS render TIMEOUT 300 ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
add_test(NAME cli.planted_links
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/planted_links.sh $<TARGET_FILE:smokedrift>)
set_tests_properties(cli.planted_links PROPERTIES LABELS render TIMEOUT 300 SKIP_RETURN_CODE 77
                     ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
add_test(NAME cli.xml_options
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/xml_options.sh $<TARGET_FILE:smokedrift> ${PROJECT_SOURCE_DIR}/res/smokedrift.xml)
set_tests_properties(cli.xml_options PROPERTIES LABELS render TIMEOUT 300 ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
add_test(NAME cli.fly_through_switches
         COMMAND bash ${SMOKEDRIFT_CLI_DIR}/fly_through_switches.sh $<TARGET_FILE:smokedrift>)
set_tests_properties(cli.fly_through_switches PROPERTIES LABELS render TIMEOUT 300 ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
