#pragma once
// A small table-test harness for the toolkit-free libraries: each failure names its case.

#include <iostream>
#include <string>

namespace check {

inline int failures = 0;

template <class A, class B> void Equal(const A& actual, const B& expected, const std::string& what)
{
    if (!(actual == expected)) {
        ++failures;
        std::cerr << "FAIL " << what << "\n";
    }
}

inline void True(bool condition, const std::string& what)
{
    Equal(condition, true, what);
}

inline int Finish(const char* name)
{
    if (failures == 0)
        std::cout << name << ": all checks passed\n";
    else
        std::cerr << name << ": " << failures << " check(s) failed\n";
    return failures == 0 ? 0 : 1;
}

} // namespace check
