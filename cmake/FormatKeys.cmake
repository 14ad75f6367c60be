# Writes the manual page, the bash completion and the desktop entry from their templates, with
# the destination formats and input kinds the format_keys tool prints from the program's tables:
#   @MARKWRIGHT_FORMAT_TABLE@  "key<TAB>display name" lines (the manual page's tbl table)
#   @MARKWRIGHT_FORMAT_KEYS@   the keys, separated by spaces
#   @MARKWRIGHT_SOURCE_LIST@   the input kinds as a manual page list: each key, then its display
#                              name, what tells it and the Open dialog's patterns
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
# The first four fields of each line for the manual page (a tagged paragraph each, as a table
# would be wider than the page); the fifth, joined, for the desktop entry.
string(REGEX REPLACE "([^\t\n]*)\t([^\t\n]*)\t([^\t\n]*)\t([^\t\n]*)\t[^\t\n]*(\n|$)"
                     ".TP\n.B \\1\n\\2: \\3; the Open dialog shows \\4\\5" MARKWRIGHT_SOURCE_LIST
                     "${sources}")
string(REGEX REPLACE "[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t[^\t\n]*\t([^\t\n]*)(\n|$)" "\\1"
                     MARKWRIGHT_MIME_TYPES "${sources}")
configure_file(${MANUAL_IN} ${MANUAL} @ONLY)
configure_file(${COMPLETION_IN} ${COMPLETION} @ONLY)
configure_file(${DESKTOP_IN} ${DESKTOP} @ONLY)
