# cmake -DCLANG_FORMAT=<program> -DSOURCE_DIR=<checkout> -P CheckFormat.cmake
# Fails, listing the differences, when a C++ file is not formatted as .clang-format says.
file(GLOB_RECURSE files LIST_DIRECTORIES false
     ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
     ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/fuzz/*.cpp ${SOURCE_DIR}/fuzz/*.h)
list(SORT files)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror --style=file ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
list(LENGTH files count)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted as .clang-format says (fix: clang-format -i <file>)")
endif()
message(STATUS "${count} files formatted as .clang-format says")
