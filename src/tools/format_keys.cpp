// Prints the destination formats, one "key<TAB>display name" line each, in the format window's
// order; with --sources, the input kinds, one "key<TAB>display name<TAB>Open dialog
// patterns<TAB>MIME types" line each, in the Open dialog's order. The build makes the manual
// page's tables, the bash completion's list of keys and the desktop entry's MIME types from them,
// so none can drift from the tables the program itself uses.
#include <iostream>
#include <string_view>

#include "readers/source_kinds.h"
#include "writers/format_table.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--sources") {
    for (const auto& kind : markwright::kSourceKinds) {
      const std::string_view filter = kind.open_filter;
      std::cout << kind.key << '\t' << kind.display_name << '\t'
                << filter.substr(filter.find('|') + 1) << '\t' << kind.mime_types << '\n';
    }
  } else {
    for (const auto& format : markwright::kDestinationFormats) {
      std::cout << format.key << '\t' << format.display_name << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
