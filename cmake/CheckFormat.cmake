# cmake -DCLANG_FORMAT=<program> -DSOURCE_DIR=<checkout> -P CheckFormat.cmake
# Fails, listing the differences, when a C++ file is not formatted as .clang-format says.
set(patterns)
foreach(folder src tests bench fuzz)
  list(APPEND patterns ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
endforeach()
file(GLOB_RECURSE files LIST_DIRECTORIES false ${patterns})
list(SORT files)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror --style=file ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
list(LENGTH files count)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted as .clang-format says (fix: clang-format -i <file>)")
endif()
message(STATUS "${count} files formatted as .clang-format says")
