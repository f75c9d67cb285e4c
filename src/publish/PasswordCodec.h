#pragma once
// How "Data.FTP" stores the server password: every byte inverted (255 - b) and
// written as two upper-case hexadecimal digits. An older form stored the inverted
// bytes as they are, after a first byte 0xA7; it is still read.
#include <string>

namespace quorrel {

// The stored form of a password: 2n hexadecimal digits for n bytes.
std::string EncodeServerPassword(const std::string& password);

// The password in a stored value; "" for "".
// Throws std::invalid_argument when a pair is not hexadecimal.
std::string DecodeServerPassword(const std::string& stored);

// length div 2 bytes, each from a pair of hexadecimal digits (either case); an odd
// last character is ignored. Throws std::invalid_argument on any other character.
std::string HexToBytes(const std::string& hex);

}  // namespace quorrel
