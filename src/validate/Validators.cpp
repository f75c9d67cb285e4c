#include "validate/Validators.h"

#include "shell/CommandNames.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

TValidatorStandIn standIn;

}  // namespace

TValidatorKind ChooseValidator() {
  if (CurrentExt == ".DPR") return TValidatorKind::Project;
  if (IsPascal || (CurrentExt == ".INC" && PosNoCase("<%", CurrentText) == 0)) {
    return TValidatorKind::Pascal;
  }
  if (IsCSharp || IsJs || IsPhp) return TValidatorKind::Php;
  if (IsCss) return TValidatorKind::Css;
  if (CurrentExt == ".VBA" || IsAsp) return TValidatorKind::Asp;
  if (IsAbc) {
    // The directives file of the music tools is ABC only in name.
    if (PosNoCase("ABCCodes.txt", CurrentFileName) != 0) return TValidatorKind::None;
    return TValidatorKind::Abc;
  }
  if (IsHtml || CurrentCommand == BuildAllCommand) return TValidatorKind::Html;
  if (IsXml) return TValidatorKind::Xml;
  if (IsRtf && !MainMenu().Checked("Raw")) return TValidatorKind::Rtf;
  return TValidatorKind::None;
}

void RunValidator(TValidatorKind kind, const std::string& sender) {
  if (kind == TValidatorKind::None) return;
  if (standIn) {
    standIn(kind, sender);
    return;
  }
  switch (kind) {
    case TValidatorKind::None:
      break;
    case TValidatorKind::Project:
      ValidateProject();
      break;
    case TValidatorKind::Pascal:
      ValidatePascal();
      break;
    case TValidatorKind::Php:
      ValidatePhp();
      break;
    case TValidatorKind::Css:
      ValidateCss();
      break;
    case TValidatorKind::Asp:
      ValidateAsp(sender);
      break;
    case TValidatorKind::Abc:
      ValidateAbc(sender);
      break;
    case TValidatorKind::Html:
      ValidateHtml(sender);
      break;
    case TValidatorKind::Xml:
      ValidateXml();
      break;
    case TValidatorKind::Rtf:
      ValidateRtf(sender == "Compact");
      break;
  }
}

void SetValidatorStandIn(TValidatorStandIn function) {
  standIn = std::move(function);
}

}  // namespace quorrel
