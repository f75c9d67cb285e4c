#include "validate/PascalComments.h"

namespace quorrel {

namespace {

// No trailing comment starts left of this column.
constexpr int kFirstCommentColumn = 30;
// A comment moved away from its code stays within this width.
constexpr int kNarrowWidth = 70;

// The last column a text of this length takes when it starts in column.
int LastColumn(int column, size_t length) {
  return column - 1 + static_cast<int>(length);
}

}  // namespace

int PascalWidthLimit(int clientWidth) {
  if (clientWidth <= 0) return DefaultPascalWidthLimit;
  return clientWidth * 150 / 1024;
}

int TrailingCommentColumn(int codeEnd, size_t commentLength, int previous, int limit) {
  const int afterBlank = codeEnd + 2;
  int column = afterBlank < kFirstCommentColumn ? kFirstCommentColumn : afterBlank;
  column = (column + 4) / 5 * 5;
  if (column < previous && LastColumn(previous, commentLength) <= limit) return previous;
  // A single blank between code and comment hides the comment: it goes further off.
  if (column == afterBlank && LastColumn(column + 10, commentLength) <= kNarrowWidth) {
    column += 10;
  }
  return column;
}

int BraceLineColumn(int column, size_t length, int previous, int limit) {
  if (previous > 0 && LastColumn(previous, length) <= limit) return previous;
  while (column > 1 && LastColumn(column, length) > limit) --column;
  return column;
}

}  // namespace quorrel
