#include "validate/Validators.h"

#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

TValidatorStandIn standIn;

// Where a kind stands in the table: the kinds before HTML keep their own validator
// when a build runs.
size_t Order(TDocumentKind kind) {
  const auto& table = DocumentKindTable();
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].kind == kind) return i;
  }
  return table.size();
}

TValidation Validated() {
  TValidation result;
  result.status = ValidatedStatus;
  return result;
}

}  // namespace

TValidatorKind ChooseValidator() {
  const TDocumentKind kind = CurrentKind();
  if (CurrentCommand == BuildAllCommand && Order(kind) >= Order(TDocumentKind::Html)) {
    return TValidatorKind::Html;
  }
  const TValidatorKind validator = KindRow(kind).validator;
  if (validator == TValidatorKind::Rtf && MainMenu().Checked("Raw")) return TValidatorKind::None;
  return validator;
}

bool ValidatorWritten(TValidatorKind kind) {
  return kind == TValidatorKind::None || kind == TValidatorKind::Html;
}

TValidation RunValidator(TValidatorKind kind, const TPage& page) {
  if (kind == TValidatorKind::None) return Validated();
  if (standIn) {
    ValidateAgain = false;
    standIn(kind, page.sender);
    TValidation result = Validated();
    result.again = ValidateAgain;
    return result;
  }
  if (kind == TValidatorKind::Html) return ValidateHtml(page);
  TValidation result;
  result.status = NotCheckedYetStatus(page.kind);
  return result;
}

void SetValidatorStandIn(TValidatorStandIn function) {
  standIn = std::move(function);
}

}  // namespace quorrel
