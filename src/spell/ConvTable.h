#pragma once
// Substitution tables for text on its way to an outside speller and back: a list
// of key and value pairs kept sorted by key, and a table that replaces, at each
// place of a text, the longest key found there by its value.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// An index or a capacity outside the list.
class EListError : public std::out_of_range {
 public:
  explicit EListError(const std::string& message) : std::out_of_range(message) {}
};

// What Add does with a key the sorted list holds already.
enum class TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

// Pairs of wide strings; keys compare unit by unit, so with case.
class TTableList {
 public:
  int Count() const { return static_cast<int>(pairs_.size()); }
  int Capacity() const { return static_cast<int>(pairs_.capacity()); }
  // Raises EListError "List capacity out of bounds (%d)" below the count.
  void SetCapacity(int capacity);

  // Raise EListError "List index out of bounds (%d)" outside 0 to Count() - 1.
  const std::u16string& Key(int index) const;
  const std::u16string& Value(int index) const;

  // Binary search of a sorted list: whether the key is there, and in index the
  // place it is (the first of equal keys unless duplicates are refused) or
  // would be put.
  bool Find(std::u16string_view key, int& index) const;
  // Puts the pair in its place in a sorted list, else at the end; returns its
  // index. A key already there is dropped (dupIgnore, giving the index of the one
  // there) or refused with EListError (dupError).
  int Add(std::u16string key, std::u16string value);

  bool Sorted() const { return sorted_; }
  // Switching sorted on sorts at once.
  void SetSorted(bool sorted);
  void Sort();

  TDuplicates Duplicates = TDuplicates::dupIgnore;
  // Called around every change to the list; empty by default.
  std::function<void()> OnChanging;
  std::function<void()> OnChange;

 private:
  struct TPair {
    std::u16string key;
    std::u16string value;
  };
  void CheckIndex(int index) const;
  void QuickSort(int left, int right);
  void Changing() const {
    if (OnChanging) OnChanging();
  }
  void Changed() const {
    if (OnChange) OnChange();
  }

  std::vector<TPair> pairs_;
  bool sorted_ = false;
};

// The substitutions of one speller: its charset name, the table for text going
// to it and the table for text coming back, both sorted and taking duplicates.
struct TConvTable {
  TConvTable();
  std::string Charset;
  TTableList ToSpeller;
  TTableList FromSpeller;
};

// Text for the speller: at each place the longest key of the to-speller table that
// the text holds there is replaced by its value; for the "UTF-8" charset the result
// is then UTF-8, one byte to a unit.
std::u16string ConvertForSpeller(std::u16string_view text, const TConvTable& table);

}  // namespace quorrel
