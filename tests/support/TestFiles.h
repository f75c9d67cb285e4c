#pragma once
// Whole files in and out, for tests that lay out folders and check what was written.
#include <string>

namespace quorrel::test {

// Writes a file of the given bytes, making its folders.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole file; "" when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace quorrel::test
