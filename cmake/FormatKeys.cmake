# Writes the manual page and the bash completion from their templates, with the destination
# formats the format_keys tool prints from the program's format table:
#   @MARKWRIGHT_FORMAT_TABLE@  "key<TAB>display name" lines (the manual page's tbl table)
#   @MARKWRIGHT_FORMAT_KEYS@   the keys, separated by spaces
#   cmake -DTOOL=format_keys -DMANUAL_IN=... -DMANUAL=... -DCOMPLETION_IN=... -DCOMPLETION=...
#         -DMARKWRIGHT_DISPLAY_VERSION=... -DMARKWRIGHT_INSTALL_MODULEDIR=... -P FormatKeys.cmake
execute_process(COMMAND ${TOOL} OUTPUT_VARIABLE table RESULT_VARIABLE status
                ERROR_VARIABLE problem)
if(NOT status EQUAL 0 OR table STREQUAL "")
  message(FATAL_ERROR "${TOOL} failed (${status}): ${problem}")
endif()
string(REGEX REPLACE "\n$" "" MARKWRIGHT_FORMAT_TABLE "${table}")
string(REGEX REPLACE "\t[^\n]*" "" keys "${MARKWRIGHT_FORMAT_TABLE}")
string(REPLACE "\n" " " MARKWRIGHT_FORMAT_KEYS "${keys}")
configure_file(${MANUAL_IN} ${MANUAL} @ONLY)
configure_file(${COMPLETION_IN} ${COMPLETION} @ONLY)
