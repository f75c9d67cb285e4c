// Entry points of the validators that are still to be written. Each leaves the
// document as it is and asks for no further pass, so that the dispatcher runs
// around them; a validator's own unit takes its entry point out of this file.
#include "validate/Validators.h"

namespace quorrel {

void ValidateProject() {}
void ValidatePascal() {}
void ValidatePhp() {}
void ClearPhpNameList() {}
void ValidateCss() {}
void ValidateAsp(const std::string&) {}
void ValidateAbc(const std::string&) {}
void ValidateXml() {}
void ValidateRtf(bool) {}

}  // namespace quorrel
