// Prints the destination formats, one "key<TAB>display name" line each, in the format window's
// order; with --sources, the input kinds, one "key<TAB>display name<TAB>what detection looks
// for<TAB>Open dialog patterns (separated by blanks)<TAB>MIME types" line each, in the Open
// dialog's order. The build makes the manual page's formats and kinds, the bash completion's list
// of keys and the desktop entry's MIME types from them, so none can drift from the tables the
// program itself uses.
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>

#include "readers/source_kinds.h"
#include "writers/format_table.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--sources") {
    for (const auto& kind : markwright::kSourceKinds) {
      const std::string_view filter = kind.open_filter;
      // The patterns separated by blanks, so that the page can break the line between them.
      std::string patterns(filter.substr(filter.find('|') + 1));
      std::ranges::replace(patterns, ';', ' ');
      std::cout << kind.key << '\t' << kind.display_name << '\t' << kind.detected_by << '\t'
                << patterns << '\t' << kind.mime_types << '\n';
    }
  } else {
    for (const auto& format : markwright::kDestinationFormats) {
      std::cout << format.key << '\t' << format.display_name << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
