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

# clang-tidy runs in shards, one CTest test each, so that "ctest -j" spreads them over the cores
# beside the other tests and no shard comes near its timeout on a busy machine. A file found clean
# is remembered until it, a header it includes, its compile command, .clang-tidy or clang-tidy
# changes (see RunClangTidy.cmake), in a cache that checkouts and build folders share.
if(DEFINED ENV{XDG_CACHE_HOME} AND IS_ABSOLUTE "$ENV{XDG_CACHE_HOME}")
  set(tidy_cache "$ENV{XDG_CACHE_HOME}/markwright/clang-tidy")
elseif(DEFINED ENV{HOME} AND IS_DIRECTORY "$ENV{HOME}")
  set(tidy_cache "$ENV{HOME}/.cache/markwright/clang-tidy")
else()
  set(tidy_cache "${CMAKE_BINARY_DIR}/clang-tidy-cache")
endif()
set(MARKWRIGHT_TIDY_CACHE "${tidy_cache}" CACHE PATH
    "Where clang-tidy's clean results are remembered (empty: nowhere, every file checked)")
set(MARKWRIGHT_TIDY_SHARDS 16 CACHE STRING "How many CTest tests share the clang-tidy run")

if(MARKWRIGHT_CLANG_TIDY)
  math(EXPR last_shard "${MARKWRIGHT_TIDY_SHARDS} - 1")
  foreach(shard RANGE ${last_shard})
    add_test(NAME lint.tidy.${shard}
             COMMAND ${CMAKE_COMMAND} -DCLANG_TIDY=${MARKWRIGHT_CLANG_TIDY}
                     -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                     -DSHARD=${shard} -DSHARDS=${MARKWRIGHT_TIDY_SHARDS}
                     -DCACHE_DIR=${MARKWRIGHT_TIDY_CACHE}
                     -P ${PROJECT_SOURCE_DIR}/cmake/RunClangTidy.cmake)
    # Three or four files a shard: under a minute on two cores, two and a half minutes at most
    # while other builds share them (a window file alone takes up to a minute then).
    # Started first (when ctest has no times of its own yet), so the short tests fill in beside.
    set_tests_properties(lint.tidy.${shard} PROPERTIES LABELS lint TIMEOUT 600 COST 100)
  endforeach()
else()
  message(WARNING "clang-tidy not found: the lint check (ctest -L lint) is left out")
endif()
