#include "publish/PasswordCodec.h"

#include <stdexcept>

#include "shell/FileRoutines.h"

namespace quorrel {

namespace {

constexpr unsigned char kRawFormMark = 0xA7;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Inverted(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(255 - static_cast<unsigned char>(c));
  return bytes;
}

}  // namespace

std::string EncodeServerPassword(const std::string& password) {
  return BytesToHex(Inverted(password));
}

std::string DecodeServerPassword(const std::string& stored) {
  if (stored.empty()) return "";
  if (static_cast<unsigned char>(stored[0]) == kRawFormMark) return Inverted(stored.substr(1));
  return Inverted(HexToBytes(stored));
}

std::string HexToBytes(const std::string& hex) {
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) {
      throw std::invalid_argument("'$" + hex.substr(i, 2) + "' is not a valid integer value");
    }
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

}  // namespace quorrel
