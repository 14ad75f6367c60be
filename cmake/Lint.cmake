# The "lint" label: the project's .clang-format checked over every C++ file (src, tests, bench,
# fuzz) and its .clang-tidy checks run over src/ with this build's compile_commands.json. Both read
# the file list when they run, so a new file is checked without reconfiguring.
find_program(MARKWRIGHT_CLANG_FORMAT NAMES clang-format-14 clang-format)
find_program(MARKWRIGHT_CLANG_TIDY NAMES clang-tidy-14 clang-tidy)

if(MARKWRIGHT_CLANG_FORMAT)
  add_test(NAME lint.format
           COMMAND ${CMAKE_COMMAND} -DCLANG_FORMAT=${MARKWRIGHT_CLANG_FORMAT}
                   -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckFormat.cmake)
  set_tests_properties(lint.format PROPERTIES LABELS lint TIMEOUT 120)
else()
  message(WARNING "clang-format not found: the format check (ctest -L lint) is left out")
endif()

if(MARKWRIGHT_CLANG_TIDY)
  cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
  add_test(NAME lint.tidy
           COMMAND ${CMAKE_COMMAND} -DCLANG_TIDY=${MARKWRIGHT_CLANG_TIDY}
                   -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DJOBS=${cores}
                   -P ${PROJECT_SOURCE_DIR}/cmake/RunClangTidy.cmake)
  set_tests_properties(lint.tidy PROPERTIES LABELS lint TIMEOUT 600)
else()
  message(WARNING "clang-tidy not found: the lint check (ctest -L lint) is left out")
endif()
