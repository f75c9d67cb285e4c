#pragma once
// The validators of the document types and the choice among them. Each validator
// works on CurrentText and the current editor, talks through the state of ValUnit.h
// (CheckOnly, ValidateAgain, HandOverText ...) and stops at the first error with one
// message (RaiseErrorAt, RaiseAtOffset or ShowErrorAndAbort).
#include <functional>
#include <string>

namespace quorrel {

enum class TValidatorKind { None, Project, Pascal, Php, Css, Asp, Abc, Html, Xml, Rtf };

// The validator of the current document: the first whose condition holds, in this
// order: Pascal project (".DPR"), Pascal source (also ".INC" without "<%"), PHP,
// JavaScript or C#, CSS, Classic ASP (also ".VBA"), ABC (never "ABCCodes.txt", which
// is not validated at all), HTML (also any page while "Build Web pages" runs), XML,
// RTF unless shown as its codes. None when no condition holds.
TValidatorKind ChooseValidator();

// Runs one validator on the current document; sender is the menu item that started
// the command ("" for none).
void RunValidator(TValidatorKind kind, const std::string& sender);

// ---- the validators' entry points ---------------------------------------------------
void ValidateProject();
void ValidatePascal();
void ValidatePhp();
// Forgets the names the PHP checker keeps from one function to the next.
void ClearPhpNameList();
void ValidateCss();
void ValidateAsp(const std::string& sender);
void ValidateAbc(const std::string& sender);
void ValidateHtml(const std::string& sender);
void ValidateXml();
// compact: the command is "Compact", which converts a play script's layout.
void ValidateRtf(bool compact);

// Tests of the dispatcher put a scripted validator in place of every real one; an
// empty function puts the real ones back.
using TValidatorStandIn = std::function<void(TValidatorKind kind, const std::string& sender)>;
void SetValidatorStandIn(TValidatorStandIn standIn);

}  // namespace quorrel
