#pragma once
// Whole files in and out, for tests that lay out folders and check what was written.
#include <cstddef>
#include <string>

namespace quorrel::test {

// Writes a file of the given bytes, making its folders.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole file; "" when it cannot be read.
std::string ReadFile(const std::string& path);
// Bytes of every value, the same for the same seed: a binary file's contents.
std::string RandomBytes(size_t size, unsigned seed);

}  // namespace quorrel::test
