// Runs the Qt Test class named by the first argument (all of them without one); the remaining
// arguments go to Qt Test.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <vector>

#include "ui_test_registry.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  std::vector<char*> arguments(argv, argv + argc);
  std::string only;
  if (arguments.size() > 1 && arguments[1][0] != '-') {
    only = arguments[1];
    arguments.erase(arguments.begin() + 1);
  }
  int failures = 0;
  bool found = false;
  for (const auto& [name, factory] : markwright::testing::UiTests()) {
    if (!only.empty() && name != only) continue;
    found = true;
    const auto test = factory();
    failures += QTest::qExec(test.get(), static_cast<int>(arguments.size()), arguments.data());
  }
  if (!found) {
    std::fprintf(stderr, "no UI test class named %s\n", only.c_str());
    return 1;
  }
  return failures == 0 ? 0 : 1;
}
