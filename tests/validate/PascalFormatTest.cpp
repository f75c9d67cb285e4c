// The Pascal formatter on small units: the columns it gives each kind of block,
// the stops with their messages, splitting with its question, blank lines,
// conditional directives and the switch that turns formatting off.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "support/ScriptedDialogs.h"
#include "validate/PascalTestKit.h"

namespace quorrel::test {
namespace {

constexpr char kSplitDone[] = "Splitting lines done - please reformat again.";

// Lines as the editor's text holds them: each ended by CR LF.
std::string Unit(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

class PascalFormat : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(Dialogs().UnusedAnswers(), 0u); }
};

// A unit laid out by the formatter: what it becomes, and a second run keeps it.
struct TLayoutCase {
  const char* name;
  std::string given;
  std::string laidOut;
};

void ExpectLaidOut(const TLayoutCase& c) {
  SCOPED_TRACE(c.name);
  const TValidation first = FormatPascal(c.given);
  ASSERT_FALSE(first.error) << first.error->message;
  EXPECT_EQ(TextAfter(first, c.given), c.laidOut);
  EXPECT_EQ(first.status, ValidatedStatus);
  const TValidation second = FormatPascal(c.laidOut);
  EXPECT_FALSE(second.text) << "a second run changes nothing";
}

TEST_F(PascalFormat, BlocksStandAtTheirOpenersColumn) {
  const TLayoutCase cases[] = {
      {"begin and end, keywords written with one capital",
       Unit({"procedure P;", "begin", "x := 1;", "   IF a then", "begin", "y;", "END;", "end;"}),
       Unit({"Procedure P;", "Begin", "  x := 1;", "  If a then", "  Begin", "    y;", "  End;",
             "End;"})},
      {"a statement under if, while and else",
       Unit({"begin", "if a then", "x", "else", "while b do", "y;", "z;", "end;"}),
       Unit({"Begin", "  If a then", "    x", "  Else", "  While b do", "    y;", "  z;", "End;"})},
      {"else-if chains stand at the else's column",
       Unit({"begin", "if a then", "x", "else", "if b then", "y", "else", "z;", "end;"}),
       Unit({"Begin", "  If a then", "    x", "  Else", "  If b then", "    y", "  Else", "    z;",
             "End;"})},
      {"case with else: its end under case",
       Unit({"begin", "case x of", "1: a;", "2:", "begin", "b;", "end;", "else", "c;", "end;",
             "end;"}),
       Unit({"Begin", "  Case x of", "    1: a;", "    2:", "      Begin", "        b;",
             "      End;", "  Else", "    c;", "  End;", "End;"})},
      {"try with except, and an else among the handlers",
       Unit({"begin", "try", "a;", "except", "on E: Exception do", "b;", "else", "c;", "end;",
             "end;"}),
       Unit({"Begin", "  Try", "    a;", "  Except", "    on E: Exception do", "      b;", "  Else",
             "    c;", "  End;", "End;"})},
      {"repeat until", Unit({"begin", "repeat", "a;", "until b;", "end;"}),
       Unit({"Begin", "  Repeat", "    a;", "  Until b;", "End;"})},
      {"a class with strict visibility and a record with a variant part",
       Unit({"type", "TFoo = class(TObject)", "strict private", "F: Integer;", "public",
             "procedure P;", "end;", "TRec = record", "case Integer of", "0: (a: Integer);", "end;",
             "", "implementation", "end."}),
       Unit({"Type", "  TFoo = Class(TObject)", "    strict Private", "      F: Integer;",
             "    Public", "      Procedure P;", "  End;", "  TRec = Record", "    Case Integer of",
             "    0: (a: Integer);", "  End;", "", "Implementation", "End."})},
      {"declaration sections end at a routine, its body and the implementation",
       Unit({"unit U;", "interface", "uses A;", "var", "X: Integer;", "procedure P;",
             "implementation", "procedure P;", "const", "C = 1;", "begin", "end;", "initialization",
             "X := 1;", "finalization", "X := 0;", "end."}),
       Unit({"Unit U;", "Interface", "Uses A;", "Var", "  X: Integer;", "Procedure P;",
             "Implementation", "Procedure P;", "Const", "  C = 1;", "Begin", "End;",
             "Initialization", "  X := 1;", "Finalization", "  X := 0;", "End."})},
      {"dispinterface, interface types, and what declares no block",
       Unit({"type", "IFoo = interface;", "IBar = interface(IUnknown)", "procedure P;", "end;",
             "DFoo = dispinterface", "end;", "TProc = procedure of object;", "TFwd = class;",
             "TRef = class of TFoo;"}),
       Unit({"Type", "  IFoo = Interface;", "  IBar = Interface(IUnknown)", "    Procedure P;",
             "  End;", "  DFoo = DispInterface", "  End;", "  TProc = procedure of Object;",
             "  TFwd = Class;", "  TRef = Class of TFoo;"})},
      {"an interface's GUID line is complete",
       Unit({"type", "IFoo = interface", "['{00000000-0000-0000-C000-000000000046}']",
             "procedure P;", "end;"}),
       Unit({"Type", "  IFoo = Interface", "    ['{00000000-0000-0000-C000-000000000046}']",
             "    Procedure P;", "  End;"})},
      {"a statement over two lines, and arguments over two",
       Unit({"begin", "x := a +", "b;", "Foo(a,", "b);", "end;"}),
       Unit({"Begin", "  x := a +", "    b;", "  Foo(a,", "    b);", "End;"})},
      {"an assembler block keeps its lines",
       Unit({"procedure P; assembler;", "asm", "   mov eax, 1", " @end:", "end;"}),
       Unit({"Procedure P; assembler;", "Asm", "   mov eax, 1", " @end:", "End;"})},
      {"directives and // comments go to column 1, other comments to their column",
       Unit({"begin", "   {$R-}", "   // note", "      { note }", "   (* note", "      kept *)",
             "end;"}),
       Unit({"Begin", "{$R-}", "// note", "  { note }", "  (* note", "      kept *)", "End;"})},
      {"begin in a comment or a string is no keyword",
       Unit({"x := 1; { begin }", "s := 'begin';", "(* begin *)", "y := 2; // begin"}),
       Unit({"x := 1;                      { begin }", "s := 'begin';", "(* begin *)",
             "y := 2;                      // begin"})},
      {"trailing blanks go", Unit({"begin   ", "x;\t", "end;"}), Unit({"Begin", "  x;", "End;"})},
  };
  for (const TLayoutCase& c : cases) ExpectLaidOut(c);
}

TEST_F(PascalFormat, ConditionalBranchesStartFromTheSameState) {
  const TLayoutCase cases[] = {
      {"each branch opens an if whose statement follows the conditional",
       Unit({"begin", "{$IFDEF A}", "if a then", "{$ELSE}", "if b then", "{$ENDIF}", "begin", "x;",
             "end;", "end;"}),
       Unit({"Begin", "{$IFDEF A}", "  If a then", "{$ELSE}", "  If b then", "{$ENDIF}", "  Begin",
             "    x;", "  End;", "End;"})},
      {"{$IFEND} ends {$IF}, and {$ELSEIF} is a branch",
       Unit({"begin", "{$IF defined(B)}", "begin", "{$ELSEIF defined(C)}", "begin", "{$IFEND}",
             "y;", "end;", "end;"}),
       Unit({"Begin", "{$IF defined(B)}", "  Begin", "{$ELSEIF defined(C)}", "  Begin", "{$IFEND}",
             "    y;", "  End;", "End;"})},
      {"a block opened in one conditional and closed in another",
       Unit({"{$ifndef ALL}", "begin", "{$endif}", "x;", "{$ifndef ALL}", "end.", "{$endif}"}),
       Unit({"{$ifndef ALL}", "Begin", "{$endif}", "  x;", "{$ifndef ALL}", "End.", "{$endif}"})},
      {"nested conditionals",
       Unit({"begin", "{$IFDEF A}", "{$IFDEF B}", "if a then", "{$ELSE}", "if b then", "{$ENDIF}",
             "x;", "{$ELSE}", "y;", "{$ENDIF}", "end;"}),
       Unit({"Begin", "{$IFDEF A}", "{$IFDEF B}", "  If a then", "{$ELSE}", "  If b then",
             "{$ENDIF}", "    x;", "{$ELSE}", "  y;", "{$ENDIF}", "End;"})},
  };
  for (const TLayoutCase& c : cases) ExpectLaidOut(c);
}

TEST_F(PascalFormat, BlankLinesAreThinned) {
  const TLayoutCase cases[] = {
      {"three blank lines become one", Unit({"x;", "", "", "", "y;"}), Unit({"x;", "", "y;"})},
      {"two stay before a procedure", Unit({"x;", "", "", "procedure P;"}),
       Unit({"x;", "", "", "Procedure P;"})},
      {"three before a function become two", Unit({"x;", "", "", "", "function F: Integer;"}),
       Unit({"x;", "", "", "Function F: Integer;"})},
      {"two stay before begin", Unit({"var", "x: Integer;", "", "", "begin", "end."}),
       Unit({"Var", "  x: Integer;", "", "", "Begin", "End."})},
      {"blank lines of blanks count as blank", Unit({"x;", "  ", "\t", "y;"}),
       Unit({"x;", "", "y;"})},
  };
  for (const TLayoutCase& c : cases) ExpectLaidOut(c);
}

TEST_F(PascalFormat, LongestLineIs253Characters) {
  const std::string fits = "//" + std::string(251, 'a');
  const TValidation passes = FormatPascal(Unit({"x;", fits.c_str()}));
  EXPECT_FALSE(passes.error);
  const std::string tooLong = fits + "a";
  const TValidation stops = FormatPascal(Unit({"x;", tooLong.c_str()}));
  ASSERT_TRUE(stops.error);
  EXPECT_EQ(stops.error->message, "Line 2 is too long.");
}

TEST_F(PascalFormat, EachStopHasItsMessageAndWritesNothing) {
  struct TStopCase {
    std::string given;
    std::string message;
  };
  const TStopCase cases[] = {
      {Unit({"end;"}), "Indenting level < 0, line 2"},
      {Unit({"x;", "until a;"}), "Indenting level < 0, line 3"},
      {Unit({"begin", "x;", "until a;"}),
       "Block must be terminated by End around line 3 rather than UNTIL"},
      {Unit({"begin", "x", "else", "y;"}),
       "Block must be terminated by End around line 3 rather than ELSE"},
      {Unit({"repeat", "x;", "end;"}), "Repeat block must be terminated by Until around line 3"},
      {Unit({"repeat", "x", "else"}), "Repeat block must be terminated by Until around line 3"},
      {Unit({"except"}), "Indenting error - line 1 would be before column 1"},
      {Unit({"s := 'abc;"}), "Unmatched quote in\rs := 'abc;"},
      {Repeated("begin\r\n", 36), "Start column beyond 70"},
      {Repeated("if a then\r\nbegin\r\n", 30) + "x;\r\n", "LevelMax needs to be increased"},
  };
  for (const TStopCase& c : cases) {
    SCOPED_TRACE(c.message);
    const TValidation verdict = FormatPascal(c.given);
    ASSERT_TRUE(verdict.error);
    EXPECT_EQ(verdict.error->message, c.message);
    EXPECT_FALSE(verdict.error->atOffset) << "the message stands alone";
    EXPECT_FALSE(verdict.text) << "a stop writes nothing back";
    EXPECT_FALSE(verdict.status);
  }
}

TEST_F(PascalFormat, AnUnfinishedUnitIsWrittenBackAndReported) {
  const TValidation verdict = FormatPascal(Unit({"begin", "x;"}));
  ASSERT_TRUE(verdict.error);
  EXPECT_EQ(verdict.error->message, "Indenting error - does not finish in column 1");
  EXPECT_EQ(verdict.text, Unit({"Begin", "  x;"}));
  EXPECT_FALSE(verdict.status) << "no \"Validated\" for a unit that does not finish";
}

TEST_F(PascalFormat, NoReformatOnTheFirstLineLeavesTheUnit) {
  const std::string marked = Unit({"{ NoReformat }", "begin", "x;", "end;"});
  const TValidation kept = FormatPascal(marked);
  EXPECT_FALSE(kept.text);
  EXPECT_FALSE(kept.error);
  EXPECT_FALSE(kept.status) << "nothing was checked";
  // The marker is matched in its exact letter case, and only on the first line.
  for (const std::string& text : {Unit({"{ noreformat }", "begin", "x;", "end;"}),
                                  Unit({"begin", "{ NoReformat }", "x;", "end;"})}) {
    const TValidation verdict = FormatPascal(text);
    EXPECT_TRUE(verdict.text);
    EXPECT_EQ(verdict.status, ValidatedStatus);
  }
  EXPECT_FALSE(FormatPascal("").status) << "an empty text does nothing";
}

TEST_F(PascalFormat, PoundSignSwitchesFormattingOffAndOn) {
  for (const char pound : {'\xA3', '\x9C'}) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(pound)));
    const std::string off = std::string("{") + pound + "F-}";
    const std::string on = std::string("{") + pound + "F+}";
    const std::string given =
        Unit({"begin", off.c_str(), "      x   :=  1;   ", "  begin", on.c_str(), "y;", "end;"});
    const TValidation verdict = FormatPascal(given);
    ASSERT_FALSE(verdict.error) << verdict.error->message;
    EXPECT_EQ(TextAfter(verdict, given), Unit({"Begin", ("  " + off).c_str(), "      x   :=  1;   ",
                                               "  begin", on.c_str(), "  y;", "End;"}));
  }
}

TEST_F(PascalFormat, SplittingAsksForEachLineAndEndsTheRun) {
  struct TSplitCase {
    std::string given;
    std::string keyword;
    std::string split;
  };
  const TSplitCase cases[] = {
      {Unit({"if x then y := 1;"}), "THEN", Unit({"if x then", "y := 1;"})},
      {Unit({"while a do b;"}), "DO", Unit({"while a do", "b;"})},
      {Unit({"x := 1; exit;"}), "EXIT", Unit({"x := 1;", "exit;"})},
      {Unit({"if a then begin"}), "BEGIN", Unit({"if a then", "begin"})},
      {Unit({"if a then", "b", "else c;"}), "ELSE", Unit({"If a then", "  b", "else", "c;"})},
  };
  for (const TSplitCase& c : cases) {
    SCOPED_TRACE(c.keyword);
    Dialogs().Answer(mrYes);
    const TValidation verdict = FormatPascal(c.given);
    const std::string asked = Dialogs().Last().text;
    EXPECT_NE(asked.find(" (?)\r" + c.keyword + " - Keyword not at start/end of line.  Split?\r\r"),
              std::string::npos)
        << asked;
    EXPECT_EQ(Dialogs().Last().buttons, (std::vector<std::string>{"Yes", "&All", "Cancel"}));
    ASSERT_TRUE(verdict.error);
    EXPECT_EQ(verdict.error->message, kSplitDone);
    EXPECT_EQ(verdict.text, c.split);
  }
}

TEST_F(PascalFormat, SplitQuestionNamesTheLine) {
  Dialogs().Answer(mrYes);
  FormatPascal(Unit({"begin", "if x then y := 1;", "end;"}));
  EXPECT_EQ(Dialogs().Last().text,
            "Line 2 (?)\rTHEN - Keyword not at start/end of line.  Split?\r\rif x then y := 1;");
}

TEST_F(PascalFormat, LinesThatAreNotSplit) {
  for (const std::string& text :
       {Unit({"If x then"}), Unit({"Var x: Integer;"}),
        Unit({"Type", "  TFoo = Class(TObject) end;"}), Unit({"x := 1; // then y"}),
        Unit({"s := 'then x';"}), Unit({"Result := inherited Foo;"}),
        Unit({"Procedure P; Procedure Q;"})}) {
    SCOPED_TRACE(text);
    const TValidation verdict = FormatPascal(text);
    // Nothing asked: the dialogs fail the test on a question nobody scripted.
    EXPECT_FALSE(verdict.error && verdict.error->message == kSplitDone);
  }
}

TEST_F(PascalFormat, AllSplitsTheRestWithoutAsking) {
  Dialogs().Answer(mrNo);  // "&All"
  const TValidation verdict =
      FormatPascal(Unit({"begin", "if a then b := 1;", "while c do d;", "end;"}));
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(verdict.text, Unit({"Begin", "if a then", "b := 1;", "while c do", "d;", "end;"}));
}

TEST_F(PascalFormat, CancelWritesNothing) {
  Dialogs().Answer(mrCancel);
  EXPECT_THROW(FormatPascal(Unit({"begin", "if a then b;", "end;"})), EAbort);
}

}  // namespace
}  // namespace quorrel::test
