// The XML validator: the document laid out again, or its first error. It never
// asks for another pass.
#include "validate/ValUnit.h"
#include "validate/Validators.h"
#include "validate/XmlLayout.h"

namespace quorrel {

TValidation ValidateXml(const TPage& page) {
  TValidation result;
  TXmlLayout layout = LayOutXml(page.text);
  if (layout.error) {
    // Nothing is written back: the document stays as the user left it.
    result.error = std::move(layout.error);
    return result;
  }
  if (layout.out != page.text) {
    CompareInputOutput(page.text, layout.out);
    result.text = std::move(layout.out);
  }
  result.status = ValidatedStatus;
  return result;
}

}  // namespace quorrel
