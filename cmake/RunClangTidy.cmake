# cmake -DCLANG_TIDY=<program> -DBUILD_DIR=<build> -DSOURCE_DIR=<checkout> -DJOBS=<n>
#       -P RunClangTidy.cmake
# Runs clang-tidy with the project's .clang-tidy over every file of src/ that the build compiles
# (from its compile_commands.json; Qt's generated files live in the build tree and are left out),
# JOBS at a time. Fails on any finding. Clang's own warnings count too, as in the clang build
# (see the top CMakeLists.txt for the one it leaves out).
file(READ ${BUILD_DIR}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(files)
foreach(index RANGE ${last})
  string(JSON file GET "${commands}" ${index} file)
  if(file MATCHES "^${SOURCE_DIR}/src/")
    list(APPEND files ${file})
  endif()
endforeach()
list(REMOVE_DUPLICATES files)
list(SORT files)
list(LENGTH files file_count)
list(JOIN files "\n" file_list)
file(WRITE ${BUILD_DIR}/clang-tidy-files.txt "${file_list}\n")

# Each file's findings printed in one piece, without the compiler's count of the warnings it
# generated (in headers outside src/, all filtered out).
set(run_one [=[out=$("$0" "$@" 2>&1)
status=$?
printf '%s\n' "$out" | grep -v -e '^[0-9]* warnings\{0,1\} generated\.$' -e '^$'
exit $status]=])
execute_process(
  COMMAND xargs -P ${JOBS} -n 1 sh -c "${run_one}" ${CLANG_TIDY} -p ${BUILD_DIR} --quiet
          --header-filter=^${SOURCE_DIR}/src/ --extra-arg=-Wno-missing-field-initializers
  INPUT_FILE ${BUILD_DIR}/clang-tidy-files.txt
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clang-tidy found problems (above) in the ${file_count} files of src/")
endif()
message(STATUS "clang-tidy: ${file_count} files of src/ clean")
