#pragma once
// A back end that hands every call to another one; a test's speller overrides
// only the calls it changes.
#include <memory>
#include <string>
#include <vector>

#include "spell/Spellers.h"

namespace quorrel::test {

class ForwardingSpeller : public TAbstractSpeller {
 public:
  explicit ForwardingSpeller(std::unique_ptr<TAbstractSpeller> inner)
      : TAbstractSpeller(inner->Language, inner->Options, inner->Checker),
        inner_(std::move(inner)) {}

  TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& length,
                                      size_t& position) override {
    return inner_->CheckSentenceStart(text, length, position);
  }
  TSpellReturnCode CheckText(std::string_view text, size_t& length, size_t& position) override {
    return inner_->CheckText(text, length, position);
  }
  void ChangeOnce(const std::string& w, const std::string& r) override { inner_->ChangeOnce(w, r); }
  void ChangeAlways(const std::string& w, const std::string& r) override {
    inner_->ChangeAlways(w, r);
  }
  void AddWord(const std::string& w) override { inner_->AddWord(w); }
  void IgnoreAlways(const std::string& w) override { inner_->IgnoreAlways(w); }
  void GetVariants(const std::string& w, std::vector<std::string>& list) override {
    inner_->GetVariants(w, list);
  }
  std::string GetReplacement() override { return inner_->GetReplacement(); }
  std::string GetMisspelled() override { return inner_->GetMisspelled(); }

 protected:
  TAbstractSpeller& Inner() { return *inner_; }

 private:
  std::unique_ptr<TAbstractSpeller> inner_;
};

}  // namespace quorrel::test
