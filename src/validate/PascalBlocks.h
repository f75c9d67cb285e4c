#pragma once
// The block stack of the Pascal formatter: which column a line stands at, given
// its leading word, and what the line opens and closes. Columns are 1-based; the
// content of a level stands two columns right of its opener.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr size_t LevelMax = 60;
inline constexpr int MaxStartColumn = 70;

// Codes of levels that no keyword of the table opens.
inline constexpr int PasRecordBlock = 40;  // "record", where a "case" opens no block
inline constexpr int PasClassBlock = 41;   // "class", "object" and the interface types

struct TPascalLevel {
  int code = 0;
  int column = 1;  // where its opener, and the word that closes it, stand
};

// A stop of the run with one of its messages.
struct TPascalStop {
  std::string message;
};
[[noreturn]] void StopPascalRun(const std::string& message);

struct TPascalBlocks {
  std::vector<TPascalLevel> stack;
  bool continuation = false;  // the code line before is not finished

  // The column of a line's content at the current level.
  int Content() const;
  // Works out the column of a code line whose leading word has the code given (0 for
  // none) and updates the stack; n is the 1-based line number, endDot whether the
  // word was "END.". May change `code` to PasCaseElse.
  int Place(int& code, bool endDot, size_t n);
  // After the line: a finished statement ends the statements waiting for it.
  void EndOfStatement();
  // Pushes a level, stopping the run when the stack is full or the column too far.
  void Push(int code, int column);
  // Declaration sections need no closing word: the column once they are left.
  int FinalColumn() const;
};

// A level that waits for one statement: "if", "else", "with", "while", "for".
bool IsStatementHead(int code);

}  // namespace quorrel
