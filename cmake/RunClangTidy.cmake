# cmake -DCLANG_TIDY=<program> -DBUILD_DIR=<build> -DSOURCE_DIR=<checkout> [-DSHARD=<i>
#       -DSHARDS=<n>] [-DJOBS=<n>] [-DCACHE_DIR=<folder>] -P RunClangTidy.cmake
# Runs clang-tidy with the project's .clang-tidy over the files of src/ that the build compiles
# (from its compile_commands.json; Qt's generated files live in the build tree and are left out),
# JOBS at a time (1 unless given). Fails on any finding. Clang's own warnings count too, as in the
# clang build (see the top CMakeLists.txt for the one it leaves out).
#
# Shard i of n (counting from 0) takes every n-th file of the sorted list, so that CTest runs the
# shards beside the other tests and each stays well within its timeout.
#
# A file found clean is remembered by a stamp in CACHE_DIR named by a hash of all its result
# depends on: clang-tidy's version, .clang-tidy, this script, the file's compile command (the
# checkout and build folders written as placeholders, so that checkouts and build folders share
# stamps), its bytes and those of each of the project's headers it includes, directly or through
# another. A file with findings leaves no stamp, so it is checked again on the next run. Without
# CACHE_DIR every file is checked.
cmake_policy(SET CMP0057 NEW)  # if(... IN_LIST ...)
if(NOT DEFINED SHARD)
  set(SHARD 0)
  set(SHARDS 1)
endif()
if(NOT JOBS)
  set(JOBS 1)
endif()
if(CACHE_DIR)
  file(MAKE_DIRECTORY ${CACHE_DIR})
endif()

file(READ ${BUILD_DIR}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(files)
foreach(index RANGE ${last})
  string(JSON file GET "${commands}" ${index} file)
  if(file MATCHES "^${SOURCE_DIR}/src/")
    list(APPEND files ${file})
    string(JSON command ERROR_VARIABLE no_command GET "${commands}" ${index} command)
    if(no_command)
      string(JSON command GET "${commands}" ${index} arguments)
    endif()
    string(MAKE_C_IDENTIFIER "${file}" id)
    set(command_of_${id} "${command}")
  endif()
endforeach()
list(REMOVE_DUPLICATES files)
list(SORT files)

# This shard's files.
set(shard_files)
set(position 0)
foreach(file ${files})
  math(EXPR owner "${position} % ${SHARDS}")
  if(owner EQUAL SHARD)
    list(APPEND shard_files ${file})
  endif()
  math(EXPR position "${position} + 1")
endforeach()
list(LENGTH shard_files file_count)
if(file_count EQUAL 0)
  message(STATUS "clang-tidy: no files of src/ in shard ${SHARD} of ${SHARDS}")
  return()
endif()

# The project's headers a file includes with quotes, found beside it, under src/ or among the
# build's generated headers; angle-bracket includes are the system's and do not change.
function(quoted_includes file result)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  get_filename_component(folder ${file} DIRECTORY)
  set(found)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" name "${line}")
    foreach(root ${folder} ${SOURCE_DIR}/src ${BUILD_DIR}/generated)
      if(EXISTS ${root}/${name} AND NOT IS_DIRECTORY ${root}/${name})
        list(APPEND found ${root}/${name})
        break()
      endif()
    endforeach()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${CLANG_TIDY} --version OUTPUT_VARIABLE tidy_version)
file(READ ${SOURCE_DIR}/.clang-tidy tidy_config)
file(READ ${CMAKE_CURRENT_LIST_FILE} this_script)
string(SHA256 common_key "${tidy_version}\n${tidy_config}\n${this_script}")

set(to_check)
set(remembered 0)
foreach(file ${shard_files})
  # Every file the result depends on, each once: the file and its headers, transitively.
  set(sources ${file})
  set(pending ${file})
  while(pending)
    list(POP_FRONT pending current)
    string(MAKE_C_IDENTIFIER "${current}" current_id)
    if(NOT DEFINED includes_of_${current_id})
      quoted_includes(${current} includes_of_${current_id})
    endif()
    foreach(header ${includes_of_${current_id}})
      if(NOT header IN_LIST sources)
        list(APPEND sources ${header})
        list(APPEND pending ${header})
      endif()
    endforeach()
  endwhile()
  list(SORT sources)
  string(MAKE_C_IDENTIFIER "${file}" id)
  string(REPLACE "${BUILD_DIR}" "<build>" key_text "${command_of_${id}}")
  string(REPLACE "${SOURCE_DIR}" "<source>" key_text "${key_text}")
  set(key_text "${common_key}\n${key_text}")
  foreach(source ${sources})
    string(MAKE_C_IDENTIFIER "${source}" source_id)
    if(NOT DEFINED hash_of_${source_id})
      file(SHA256 ${source} hash_of_${source_id})
    endif()
    string(REPLACE "${SOURCE_DIR}" "<source>" name "${source}")
    string(REPLACE "${BUILD_DIR}" "<build>" name "${name}")
    string(APPEND key_text "\n${name} ${hash_of_${source_id}}")
  endforeach()
  string(SHA256 key "${key_text}")
  if(CACHE_DIR AND EXISTS ${CACHE_DIR}/${key})
    math(EXPR remembered "${remembered} + 1")
  else()
    list(APPEND to_check "${key} ${file}")
  endif()
endforeach()

if(to_check)
  # One line per file, "<key> <path>"; each file's findings printed in one piece, without the
  # compiler's count of the warnings it generated (in headers outside src/, all filtered out).
  list(JOIN to_check "\n" check_list)
  set(list_file ${BUILD_DIR}/clang-tidy-files-${SHARD}-of-${SHARDS}.txt)
  file(WRITE ${list_file} "${check_list}\n")
  set(run_one [=[key=${1%% *}
file=${1#* }
out=$("$0" -p "$BUILD_DIR" --quiet "--header-filter=^$SOURCE_DIR/src/" \
  --extra-arg=-Wno-missing-field-initializers "$file" 2>&1)
status=$?
printf '%s\n' "$out" | grep -v -e '^[0-9]* warnings\{0,1\} generated\.$' -e '^$'
[ "$status" -eq 0 ] && [ -n "$CACHE_DIR" ] && : >"$CACHE_DIR/$key"
exit $status]=])
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env BUILD_DIR=${BUILD_DIR} SOURCE_DIR=${SOURCE_DIR}
            CACHE_DIR=${CACHE_DIR}
            xargs -d "\n" -P ${JOBS} -n 1 sh -c "${run_one}" ${CLANG_TIDY}
    INPUT_FILE ${list_file}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "clang-tidy found problems (above) in shard ${SHARD} of ${SHARDS} "
                        "(${file_count} files of src/)")
  endif()
endif()
message(STATUS "clang-tidy: ${file_count} files of src/ clean in shard ${SHARD} of ${SHARDS}, "
               "${remembered} of them unchanged since a clean run")
