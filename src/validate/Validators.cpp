#include "validate/Validators.h"

#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"
#include "validate/ValidateRtf.h"

namespace quorrel {

namespace {

TPageValidatorStandIn standIn;

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

TValidation RunValidator(TValidatorKind kind, const TPage& page) {
  if (kind == TValidatorKind::None) return Validated();
  if (standIn) {
    if (std::optional<TValidation> result = standIn(kind, page)) return *result;
  }
  if (kind == TValidatorKind::Html) return ValidateHtml(page);
  if (kind == TValidatorKind::Pascal || kind == TValidatorKind::Project) {
    return ValidatePascal(page, MeasurePascalWidthLimit());
  }
  if (kind == TValidatorKind::Xml) return ValidateXml(page);
  if (kind == TValidatorKind::Rtf) return ValidateRtf(page);
  if (kind == TValidatorKind::Abc) return ValidateAbc(page);
  if (kind == TValidatorKind::Php) return ValidatePhp(page);
  if (kind == TValidatorKind::Asp) return ValidateAsp(page);
  TValidation result;
  result.status = NotCheckedYetStatus(page.kind);
  return result;
}

int MeasurePascalWidthLimit() {
  TMainWindow* window = MainWindow();
  if (!window || StartMode == StartReformatting) return DefaultPascalWidthLimit;
  window->Maximise();
  return PascalWidthLimit(window->ClientWidth());
}

void SetPageValidatorStandIn(TPageValidatorStandIn function) {
  standIn = std::move(function);
}

void SetValidatorStandIn(TValidatorStandIn function) {
  if (!function) {
    standIn = nullptr;
    return;
  }
  standIn = [function](TValidatorKind kind, const TPage& page) -> std::optional<TValidation> {
    ValidateAgain = false;
    function(kind, page.sender);
    TValidation result = Validated();
    result.again = ValidateAgain;
    return result;
  };
}

}  // namespace quorrel
