#pragma once
// What an on-line validation service said about one page or style sheet, read from
// its reply, and the results page that collects the files with errors. Texts are
// the bytes of the reply as they came.
#include <string>

namespace quorrel {

// The public markup validation service, the default of [System] ValidatorAddress.
inline constexpr char DefaultValidatorAddress[] = "https://validator.w3.org/check";

enum class TReplyKind {
  Valid,    // the service said the file validates
  Abused,   // the service refuses to answer this address any more
  Errors,   // anything else: the report says what was found
};

struct TValidationReply {
  TReplyKind kind = TReplyKind::Errors;
  // For errors: the part of the reply for the results page.
  std::string report;
};

TValidationReply ReadValidationReply(const std::string& reply, bool styleSheet);

// The address the service is asked: its check address, "?uri=", and the page's
// address as one encoded parameter.
std::string ValidationRequest(const std::string& checkAddress, const std::string& pageAddress);

// A path as part of a web address: characters that would end or change the path
// ("%", blanks, "#", "?", controls and bytes above 126) percent-encoded.
std::string EncodeUrlPath(const std::string& path);

// The results page: its start, the heading of a file with errors, and its end.
std::string ResultsPageStart(const std::string& checkAddress);
std::string ResultsFileHeading(const std::string& path);
std::string ResultsPageEnd(int ok, int errors);

}  // namespace quorrel
