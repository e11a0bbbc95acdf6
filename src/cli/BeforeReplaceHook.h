#pragma once
// A hook for the tests of the optimize command: when CORVANE_TEST_BEFORE_REPLACE names a
// program, it runs with a file's path, and is waited for, right before that file is
// checked to be still the one read and replaced. A test changes the file there at a
// moment it controls.

#include <functional>
#include <string>

namespace corvane::cli {

// None when the variable is not set.
std::function<void(const std::string& path)> BeforeReplaceHook();

}  // namespace corvane::cli
