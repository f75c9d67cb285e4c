#include "spell/ConvTable.h"

#include <utility>

#include "platform/CodePage.h"
#include "spell/CharsetNames.h"
#include "spell/Languages.h"

namespace quorrel {

void TTableList::SetCapacity(int capacity) {
  if (capacity < Count())
    throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
  pairs_.reserve(static_cast<size_t>(capacity));
}

void TTableList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::u16string& TTableList::Key(int index) const {
  CheckIndex(index);
  return pairs_[static_cast<size_t>(index)].key;
}

const std::u16string& TTableList::Value(int index) const {
  CheckIndex(index);
  return pairs_[static_cast<size_t>(index)].value;
}

bool TTableList::Find(std::u16string_view key, int& index) const {
  bool found = false;
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int order = std::u16string_view(pairs_[static_cast<size_t>(middle)].key).compare(key);
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (order == 0) {
        found = true;
        // Accepting duplicates, the search goes on to the left for the first one.
        if (Duplicates != TDuplicates::dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

int TTableList::Add(std::u16string key, std::u16string value) {
  int index = Count();
  if (sorted_ && Find(key, index)) {
    if (Duplicates == TDuplicates::dupIgnore) return index;
    if (Duplicates == TDuplicates::dupError)
      throw EListError("String list does not allow duplicates");
  }
  Changing();
  pairs_.insert(pairs_.begin() + index, TPair{std::move(key), std::move(value)});
  Changed();
  return index;
}

void TTableList::SetSorted(bool sorted) {
  if (sorted && !sorted_) Sort();
  sorted_ = sorted;
}

void TTableList::Sort() {
  if (Count() < 2) return;
  Changing();
  QuickSort(0, Count() - 1);
  Changed();
}

void TTableList::QuickSort(int left, int right) {
  // The smaller part is sorted by a call, the larger by the loop, so the depth of
  // calls stays below the logarithm of the count whatever the keys.
  while (left < right) {
    const std::u16string pivot = pairs_[static_cast<size_t>(left + (right - left) / 2)].key;
    int i = left;
    int j = right;
    while (i <= j) {
      while (pairs_[static_cast<size_t>(i)].key < pivot) ++i;
      while (pairs_[static_cast<size_t>(j)].key > pivot) --j;
      if (i <= j) {
        std::swap(pairs_[static_cast<size_t>(i)], pairs_[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (j - left < right - i) {
      QuickSort(left, j);
      left = i;
    } else {
      QuickSort(i, right);
      right = j;
    }
  }
}

TConvTable::TConvTable() {
  for (TTableList* list : {&ToSpeller, &FromSpeller}) {
    list->Duplicates = TDuplicates::dupAccept;
    list->SetSorted(true);
  }
}

std::u16string ConvertForSpeller(std::u16string_view text, const TConvTable& table) {
  const TTableList& keys = table.ToSpeller;
  std::u16string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    // The keys that start with this character sit together from the first one
    // not below it.
    int index = 0;
    keys.Find(text.substr(at, 1), index);
    int best = -1;
    size_t bestLength = 0;
    for (; index < keys.Count(); ++index) {
      const std::u16string& key = keys.Key(index);
      if (key.empty() || key[0] != text[at]) break;
      if (key.size() > bestLength && text.substr(at, key.size()) == key) {
        best = index;
        bestLength = key.size();
      }
    }
    if (best >= 0) {
      out += keys.Value(best);
      at += bestLength;
    } else {
      out += text[at++];
    }
  }
  if (AnsiSameText(table.Charset, kUtf8CharsetName)) {
    const std::string utf8 = WideToUtf8(out);
    out.clear();
    for (unsigned char byte : utf8) out.push_back(byte);
  }
  return out;
}

}  // namespace quorrel
