#pragma once
// Each desktop test class registers itself here so that the one test program runs them all.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace tessera::test {

using UiTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<UiTestFactory>& UiTests() {
    static std::vector<UiTestFactory> tests;
    return tests;
}

template <class T>
struct RegisterUiTest {
    RegisterUiTest() {
        UiTests().push_back([] { return std::make_unique<T>(); });
    }
};

}  // namespace tessera::test
