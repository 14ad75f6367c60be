// Prints the destination formats, one "key<TAB>display name" line each, in the format window's
// order. The build makes the manual page's format table and the bash completion's list of keys
// from it, so neither can drift from the table the program itself uses.
#include <iostream>

#include "writers/format_table.h"

int main() {
  for (const auto& format : markwright::kDestinationFormats) {
    std::cout << format.key << '\t' << format.display_name << '\n';
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
