# Writes the manual page, the bash completion and the desktop entry from their templates, with
# the destination formats and input kinds the format_keys tool prints from the program's tables:
#   @MARKWRIGHT_FORMAT_TABLE@  "key<TAB>display name" lines (the manual page's tbl table)
#   @MARKWRIGHT_FORMAT_KEYS@   the keys, separated by spaces
#   @MARKWRIGHT_SOURCE_TABLE@  "key<TAB>display name<TAB>patterns" lines of the input kinds
#   @MARKWRIGHT_MIME_TYPES@    the input kinds' MIME types, each followed by ';'
#   cmake -DTOOL=format_keys -DMANUAL_IN=... -DMANUAL=... -DCOMPLETION_IN=... -DCOMPLETION=...
#         -DDESKTOP_IN=... -DDESKTOP=...
#         -DMARKWRIGHT_DISPLAY_VERSION=... -DMARKWRIGHT_INSTALL_MODULEDIR=... -P FormatKeys.cmake
execute_process(COMMAND ${TOOL} OUTPUT_VARIABLE table RESULT_VARIABLE status
                ERROR_VARIABLE problem)
if(NOT status EQUAL 0 OR table STREQUAL "")
  message(FATAL_ERROR "${TOOL} failed (${status}): ${problem}")
endif()
execute_process(COMMAND ${TOOL} --sources OUTPUT_VARIABLE sources RESULT_VARIABLE status
                ERROR_VARIABLE problem)
if(NOT status EQUAL 0 OR sources STREQUAL "")
  message(FATAL_ERROR "${TOOL} --sources failed (${status}): ${problem}")
endif()
string(REGEX REPLACE "\n$" "" MARKWRIGHT_FORMAT_TABLE "${table}")
string(REGEX REPLACE "\t[^\n]*" "" keys "${MARKWRIGHT_FORMAT_TABLE}")
string(REPLACE "\n" " " MARKWRIGHT_FORMAT_KEYS "${keys}")
string(REGEX REPLACE "\n$" "" sources "${sources}")
# The first three fields of each line for the manual page; the fourth, joined, for the desktop.
string(REGEX REPLACE "\t[^\t\n]*(\n|$)" "\\1" MARKWRIGHT_SOURCE_TABLE "${sources}")
string(REGEX REPLACE "[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t([^\t\n]*)(\n|$)" "\\1" MARKWRIGHT_MIME_TYPES
                     "${sources}")
configure_file(${MANUAL_IN} ${MANUAL} @ONLY)
configure_file(${COMPLETION_IN} ${COMPLETION} @ONLY)
configure_file(${DESKTOP_IN} ${DESKTOP} @ONLY)
