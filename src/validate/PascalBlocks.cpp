#include "validate/PascalBlocks.h"

#include "validate/PascalKeywords.h"

namespace quorrel {

namespace {

// Blocks that "end" closes.
bool ClosedByEnd(int code) {
  return code == PasBegin || code == PasTry || code == PasAsm || code == PasCase ||
         code == PasInitialization || code == PasFinalization || code == PasRecordBlock ||
         code == PasClassBlock;
}

bool IsVisibility(int code) {
  return code >= PasPrivate && code <= PasAutomated;
}

bool IsDeclarationWord(int code) {
  return code >= PasUses && code <= PasLabel;
}

bool EndsDeclarations(int code) {
  return code == PasBegin || code == PasAsm || code == PasImplementation ||
         (code >= PasProcedure && code <= PasDestructor);
}

std::string Line(size_t n) {
  return std::to_string(n);
}

}  // namespace

void StopPascalRun(const std::string& message) {
  throw TPascalStop{message};
}

bool IsStatementHead(int code) {
  return code == PasIf || code == PasElse || code == PasWith || code == PasWhile || code == PasFor;
}

int TPascalBlocks::Content() const {
  return stack.empty() ? 1 : stack.back().column + 2;
}

void TPascalBlocks::Push(int code, int column) {
  if (stack.size() >= LevelMax) StopPascalRun("LevelMax needs to be increased");
  if (column > MaxStartColumn) StopPascalRun("Start column beyond 70");
  stack.push_back({code, column});
}

void TPascalBlocks::EndOfStatement() {
  while (!stack.empty() && IsStatementHead(stack.back().code)) stack.pop_back();
}

int TPascalBlocks::FinalColumn() const {
  size_t depth = stack.size();
  while (depth > 0 && IsDeclarationWord(stack[depth - 1].code)) --depth;
  return depth == 0 ? 1 : stack[depth - 1].column + 2;
}

int TPascalBlocks::Place(int& code, bool endDot, size_t n) {
  const bool wasContinued = continuation;
  continuation = false;
  auto top = [this]() -> TPascalLevel& { return stack.back(); };
  auto popDeclarations = [this] {
    while (!stack.empty() &&
           (IsDeclarationWord(stack.back().code) || IsStatementHead(stack.back().code))) {
      stack.pop_back();
    }
  };

  if (code == PasEnd) {
    while (!stack.empty() && !ClosedByEnd(top().code)) {
      if (top().code == PasRepeat) {
        StopPascalRun("Repeat block must be terminated by Until around line " + Line(n));
      }
      stack.pop_back();
    }
    if (stack.empty()) {
      if (endDot) return 1;  // the end of the unit
      StopPascalRun("Indenting level < 0, line " + Line(n + 1));
    }
    const int column = top().column;
    stack.pop_back();
    return column;
  }

  if (code == PasUntil) {
    while (!stack.empty() && top().code != PasRepeat) {
      if (ClosedByEnd(top().code)) {
        StopPascalRun("Block must be terminated by End around line " + Line(n) +
                      " rather than UNTIL");
      }
      stack.pop_back();
    }
    if (stack.empty()) StopPascalRun("Indenting level < 0, line " + Line(n + 1));
    const int column = top().column;
    stack.pop_back();
    return column;
  }

  if (code == PasElse) {
    while (!stack.empty()) {
      TPascalLevel& level = top();
      if (level.code == PasIf) {
        const int column = level.column;
        stack.pop_back();
        Push(PasElse, column);
        return column;
      }
      // The branches of a case end in an "else", and so do the handlers of an
      // "except"; either stands at its block's column.
      if (level.code == PasCase || level.code == PasTry) {
        if (level.code == PasCase) code = PasCaseElse;
        return level.column;
      }
      if (level.code == PasRepeat) {
        StopPascalRun("Repeat block must be terminated by Until around line " + Line(n));
      }
      if (ClosedByEnd(level.code)) {
        StopPascalRun("Block must be terminated by End around line " + Line(n) +
                      " rather than ELSE");
      }
      stack.pop_back();
    }
    StopPascalRun("Indenting level < 0, line " + Line(n + 1));
  }

  if (code == PasExcept || code == PasFinally) {
    popDeclarations();
    if (!stack.empty() && top().code == PasTry) return top().column;
    return Content() - 2;  // outside a try block: checked against column 1
  }

  if (IsVisibility(code)) {
    while (!stack.empty() && IsDeclarationWord(top().code)) stack.pop_back();
    if (!stack.empty() && IsVisibility(top().code)) {
      top().code = code;
      return top().column;
    }
    if (!stack.empty() && (top().code == PasClassBlock || top().code == PasRecordBlock)) {
      const int column = Content();
      Push(code, column);
      return column;
    }
    code = PasNone;  // a visibility word outside a class is an ordinary word
  }

  if (IsDeclarationWord(code)) {
    if (!stack.empty() && IsDeclarationWord(top().code)) {
      top().code = code;
      return top().column;
    }
    const int column = Content();
    Push(code, column);
    return column;
  }

  if (EndsDeclarations(code) && !stack.empty() && IsDeclarationWord(top().code)) {
    stack.pop_back();
  }

  switch (code) {
    case PasInterfaceSection:
    case PasImplementation:
      popDeclarations();
      return Content();
    case PasInitialization: {
      popDeclarations();
      const int column = Content();
      Push(PasInitialization, column);
      return column;
    }
    case PasFinalization:
      popDeclarations();
      if (!stack.empty() && top().code == PasInitialization) {
        top().code = PasFinalization;
        return 1;
      }
      Push(PasFinalization, 1);
      return 1;
    case PasBegin:
    case PasTry:
    case PasAsm:
    case PasCase:
    case PasRepeat:
    case PasWith:
    case PasWhile:
    case PasFor:
    case PasIf: {
      int column = Content();
      const bool underHead = !stack.empty() && IsStatementHead(top().code);
      // A compound statement under "if", "while" ... stands at its head's column,
      // and so does every block word or "if" under an "else" (else-if chains).
      const bool compound = code == PasBegin || code == PasTry || code == PasAsm;
      if (underHead && (compound || top().code == PasElse)) column = top().column;
      if (wasContinued && !underHead) column += 2;  // under a case label
      // The variant part of a record is closed by the record's own "end".
      if (code == PasCase && !stack.empty() && top().code == PasRecordBlock) return column;
      // A statement head under "else" is the else's one statement: it takes the
      // else's place, so that a long else-if chain does not fill the stack.
      if (underHead && top().code == PasElse && IsStatementHead(code)) stack.pop_back();
      Push(code, column);
      return column;
    }
    default:
      return wasContinued ? Content() + 2 : Content();
  }
}

}  // namespace quorrel
