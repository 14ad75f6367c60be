#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

// Several Qt Test classes in one program: each registers itself, CTest runs one per test.
namespace markwright::testing {

using UiTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::map<std::string, UiTestFactory>& UiTests() {
  static std::map<std::string, UiTestFactory> tests;
  return tests;
}

struct RegisterUiTest {
  RegisterUiTest(const char* name, UiTestFactory factory) { UiTests()[name] = std::move(factory); }
};

}  // namespace markwright::testing

#define MARKWRIGHT_UI_TEST(Class)                                    \
  static const markwright::testing::RegisterUiTest register_##Class{ \
      #Class, [] { return std::make_unique<Class>(); }};
