#include "validate/ScriptChecks.h"

#include <algorithm>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/UserDialogs.h"
#include "shell/LinkPick.h"
#include "validate/ScriptCharacters.h"
#include "validate/ScriptNames.h"

namespace quorrel {

namespace {

constexpr char kSongStart[] = "SONG:\t";
constexpr char kEndOfSong[] = "End of song";
constexpr char kEnd[] = "END";
// Where the words that give the layout must stand, and where the last line "END".
constexpr size_t kLayoutWordReach = 100;
constexpr size_t kEndReach = 60;

std::string ParagraphText(const TRtfParagraph& paragraph) {
  TRtfDocument one;
  one.paragraphs.push_back(paragraph);
  return RtfPlainText(one);
}

// A check and its mends over the lines of one script. Each line is a paragraph of
// the document; offsets stay those of the text as it was read, which is the text
// the editor still shows when a check fails.
class TScriptRun {
 public:
  TScriptRun(TRtfDocument& document, bool compact) : doc_(document), compact_(compact) {
    size_t offset = 0;
    for (const TRtfParagraph& paragraph : doc_.paragraphs) {
      lines_.push_back(ParagraphText(paragraph));
      offsets_.push_back(offset);
      offset += lines_.back().size() + 2;
    }
  }

  TScriptCheck Run();

 private:
  bool Fail(size_t offset, std::string message, int helpContext = 0) {
    check_.error = TValidationError{offset, std::move(message), helpContext, true};
    return false;
  }
  std::string Text() const;
  size_t FirstSceneLine() const;
  void Replace(size_t line, size_t from, size_t length, std::string_view ansi);

  bool SongsClosed();
  void EndLine();
  bool Layout();
  bool CompactParts();
  bool SceneLines();
  bool SceneLine(size_t line);
  bool Speakers();
  bool Speaker(size_t line, size_t tab);
  std::optional<std::string> FullName(size_t line, size_t at, std::string_view name);
  const std::vector<std::string>* Characters(size_t line);

  TRtfDocument& doc_;
  bool compact_;
  std::vector<std::string> lines_;
  std::vector<size_t> offsets_;
  TScriptLayout layout_ = TScriptLayout::Stage;
  std::optional<std::vector<std::string>> characters_;
  std::vector<std::string> sceneNames_;
  TScriptCheck check_;
};

std::string TScriptRun::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i];
  }
  return text;
}

// The scene part starts at the first scene line after the characters list, or at
// the first one when the script has no list; lines_.size() when there is none.
size_t TScriptRun::FirstSceneLine() const {
  size_t line = 0;
  while (line < lines_.size() && !IsCharactersLine(lines_[line])) ++line;
  if (line == lines_.size()) line = 0;
  while (line < lines_.size() && !IsSceneLine(lines_[line])) ++line;
  return line;
}

// Typing over part of a line: the new text takes the format of the character
// before it, or at the line's start of the one after it.
void TScriptRun::Replace(size_t line, size_t from, size_t length, std::string_view ansi) {
  TRtfDocument one;
  one.paragraphs.push_back(std::move(doc_.paragraphs[line]));
  RtfReplace(one, from, length, RtfTextOfAnsi(std::string(ansi)));
  doc_.paragraphs[line] = std::move(one.paragraphs.front());
  lines_[line].replace(from, length, ansi);
}

// Every song is closed before the next begins: by "End of song", a scene line or
// the line "End".
bool TScriptRun::SongsClosed() {
  std::optional<size_t> open;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (StartsWithNoCase(line, kSongStart)) {
      if (open) return Fail(offsets_[*open], NoEndOfSongMessage);
      open = i;
    } else if (open && (line.find(kEndOfSong) != std::string::npos || IsSceneLine(line) ||
                        SameName(TrimBlanks(line), "End"))) {
      open.reset();
    }
  }
  return true;
}

// The script ends with the line "END", underlined and centred: one is added after
// the last text when the last characters hold none.
void TScriptRun::EndLine() {
  const size_t size = Text().size();
  const size_t reach = size - std::min(size, kEndReach);
  bool found = false;
  for (size_t i = 0; i < lines_.size() && !found; ++i) {
    found = offsets_[i] >= reach && TrimBlanks(lines_[i]) == kEnd;
  }
  if (!found) {
    size_t after = lines_.size();
    while (after > 0 && TrimBlanks(lines_[after - 1]).empty()) --after;
    const size_t like = after > 0 ? after - 1 : 0;
    TRtfParagraph end;
    end.format = doc_.paragraphs[like].format;
    end.markFormat = doc_.paragraphs[like].runs.empty() ? doc_.paragraphs[like].markFormat
                                                        : doc_.paragraphs[like].runs.front().format;
    AppendRun(end, u"END", end.markFormat);
    doc_.paragraphs.insert(doc_.paragraphs.begin() + static_cast<long>(after), std::move(end));
    lines_.insert(lines_.begin() + static_cast<long>(after), kEnd);
    offsets_.insert(offsets_.begin() + static_cast<long>(after),
                    after < offsets_.size() ? offsets_[after] : size);
  }
  size_t last = lines_.size();
  while (TrimBlanks(lines_[last - 1]) != kEnd) --last;
  TRtfParagraph& end = doc_.paragraphs[last - 1];
  end.format.align = TRtfAlign::Center;
  end.markFormat.underline = true;
  for (TRtfRun& run : end.runs) run.format.underline = true;
}

bool TScriptRun::Layout() {
  const std::optional<TScriptLayout> layout = ScriptLayout(Text());
  if (!layout) return Fail(0, NoLayoutWordMessage);
  layout_ = *layout;
  return true;
}

// A compact script has its characters list and scenes after it. Its scenes keep
// the paragraph spacing of the script: a paragraph there whose formatting was reset
// to nothing takes that of the paragraph before it. The last "END" keeps its own.
bool TScriptRun::CompactParts() {
  const std::optional<size_t> characters = CharactersLineOffset(Text());
  const size_t scenes = FirstSceneLine();
  if (!characters || scenes == lines_.size()) return Fail(0, NoCharactersOrSceneMessage);
  size_t end = lines_.size();
  while (end > scenes && TrimBlanks(lines_[end - 1]) != kEnd) --end;
  for (size_t i = std::max<size_t>(scenes, 1); i + 1 < end; ++i) {
    if (doc_.paragraphs[i].format == TRtfParaFormat()) {
      doc_.paragraphs[i].format = doc_.paragraphs[i - 1].format;
    }
  }
  return true;
}

bool TScriptRun::SceneLines() {
  for (size_t i = FirstSceneLine(); i < lines_.size(); ++i) {
    if (IsSceneLine(lines_[i]) && !SceneLine(i)) return false;
  }
  return true;
}

// "Scene", a number, a colon and the title. In screen layout the title ("Int." or
// "Ext." and the place) has single blanks and ends with a full stop.
bool TScriptRun::SceneLine(size_t i) {
  constexpr size_t kWord = 5;  // "Scene"
  if (lines_[i].starts_with("SCENE")) Replace(i, 0, kWord, "Scene");
  const std::string& line = lines_[i];
  size_t at = kWord;
  while (at < line.size() && line[at] == ' ') ++at;
  while (at < line.size() && IsDigit(line[at])) ++at;
  while (at < line.size() && line[at] == ' ') ++at;
  if (at == line.size() || line[at] != ':') return Fail(offsets_[i], SceneColonMessage);
  const size_t title = at + 1;
  if (title < line.size() && line[title] == '\t') {
    // A tab would make the heading read as a line of dialogue; a blank keeps the
    // title apart from the colon.
    const bool blankFollows = title + 1 == line.size() || line[title + 1] == ' ';
    Replace(i, title, 1, blankFollows ? "" : " ");
  }
  if (layout_ != TScriptLayout::Screen) return true;
  std::string tidy;
  for (size_t c = title; c < lines_[i].size(); ++c) {
    const char ch = lines_[i][c];
    if (ch == ' ' && (tidy.empty() ? c != title : tidy.back() == ' ')) continue;
    tidy += ch;
  }
  while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
  if (!TrimBlanks(tidy).empty() && tidy.back() != '.') tidy += '.';
  if (tidy != std::string_view(lines_[i]).substr(title)) {
    Replace(i, title, lines_[i].size() - title, tidy);
  }
  return true;
}

// The characters list, read when a speaker first needs it; null when it cannot be.
const std::vector<std::string>* TScriptRun::Characters(size_t line) {
  if (!characters_) {
    TScriptCharacters list = ReadScriptCharacters(Text());
    if (list.error) {
      check_.error = TValidationError{list.errorAtOffset ? list.errorOffset : offsets_[line],
                                      *list.error, 0, list.errorAtOffset};
      return nullptr;
    }
    characters_ = std::move(list.names);
  }
  return &*characters_;
}

bool TScriptRun::Speakers() {
  for (size_t i = FirstSceneLine(); i < lines_.size(); ++i) {
    if (IsSceneLine(lines_[i])) {
      sceneNames_.clear();
      continue;
    }
    const size_t tab = lines_[i].find('\t');
    if (tab == std::string::npos || tab == 0) continue;  // no dialogue, or the speaker goes on
    if (!Speaker(i, tab)) return false;
  }
  return true;
}

// The names before the tab, each written out in full; from the last, so that the
// places of the ones before stay where they were.
bool TScriptRun::Speaker(size_t i, size_t tab) {
  const std::string written = lines_[i].substr(0, tab);
  if (const std::optional<std::string> fault = SpeakerFault(written)) {
    return Fail(offsets_[i], *fault);
  }
  const std::string_view name = std::string_view(written).substr(0, written.size() - 1);
  if (IsScriptHeading(name)) return true;
  const std::vector<TSpeakerPart> parts = SpeakerParts(name);
  std::vector<std::string> full;
  for (const TSpeakerPart& part : parts) {
    if (part.length == 0) return Fail(offsets_[i] + part.start, BlankNameMessage);
    std::optional<std::string> resolved =
        FullName(i, part.start, name.substr(part.start, part.length));
    if (!resolved) return false;
    full.push_back(std::move(*resolved));
  }
  for (size_t p = parts.size(); p-- > 0;) {
    const std::string_view was = name.substr(parts[p].start, parts[p].length);
    if (full[p] != was) Replace(i, parts[p].start, parts[p].length, full[p]);
  }
  for (const std::string& speaker : full) {
    if (IsGroupName(speaker)) continue;
    if (std::none_of(sceneNames_.begin(), sceneNames_.end(),
                     [&](const std::string& n) { return SameName(n, speaker); })) {
      sceneNames_.push_back(speaker);
    }
  }
  return true;
}

// A speaker as the script names it: a group, a character, someone already speaking
// in the scene, or an abbreviation of one of these, which the user picks from when
// it could stand for several.
std::optional<std::string> TScriptRun::FullName(size_t i, size_t at, std::string_view name) {
  auto same = [&](const std::string& other) { return SameName(other, name); };
  if (IsGroupName(name)) return std::string(name);
  const std::vector<std::string>* characters = Characters(i);
  if (!characters) return std::nullopt;
  if (std::any_of(characters->begin(), characters->end(), same) ||
      std::any_of(sceneNames_.begin(), sceneNames_.end(), same)) {
    return std::string(name);
  }
  const size_t offset = offsets_[i] + at;
  auto pick = [&](const std::vector<std::string>& matches,
                  const char* cancelled) -> std::optional<std::string> {
    if (matches.size() == 1) return matches.front();
    std::string chosen;
    if (!UserDialogs().PickList(AmbiguousAbbreviationCaption, matches, 0, chosen)) {
      Fail(offset, cancelled);
      return std::nullopt;
    }
    ChosenLink = chosen;
    return chosen;
  };
  if (!name.starts_with('?')) {
    const std::vector<std::string> inScene = AbbreviationMatches(name, sceneNames_);
    if (!inScene.empty()) return pick(inScene, AmbiguousInSceneMessage);
  }
  if (characters->empty()) {
    // A list still to be written: the speaker is noted for it.
    if (std::none_of(check_.undefined.begin(), check_.undefined.end(), same)) {
      check_.undefined.emplace_back(name);
    }
    return std::string(name);
  }
  const std::vector<std::string> matches = AbbreviationMatches(name, *characters);
  if (matches.empty()) {
    Fail(offset, UnknownNameMessage + std::string(name), UnknownNameHelp);
    return std::nullopt;
  }
  return pick(matches, AmbiguousMessage);
}

TScriptCheck TScriptRun::Run() {
  if (lines_.empty()) return check_;
  if (!SongsClosed()) return check_;
  EndLine();
  if (!Layout()) return check_;
  if (compact_ && !CompactParts()) return check_;
  if (!SceneLines() || !Speakers()) return check_;
  return check_;
}

}  // namespace

std::optional<TScriptLayout> ScriptLayout(std::string_view text) {
  const std::string_view start = text.substr(0, kLayoutWordReach);
  std::optional<TScriptLayout> layout;
  size_t first = std::string_view::npos;
  const std::pair<std::string_view, TScriptLayout> words[] = {{"Radio", TScriptLayout::Stage},
                                                              {"Stage", TScriptLayout::Stage},
                                                              {"Television", TScriptLayout::Screen},
                                                              {"Film", TScriptLayout::Screen}};
  for (const auto& [word, kind] : words) {
    const size_t at = start.find(word);
    if (at < first) {
      first = at;
      layout = kind;
    }
  }
  return layout;
}

bool IsSceneLine(std::string_view line) {
  if (!line.starts_with("Scene") && !line.starts_with("SCENE")) return false;
  if (line.size() == 5) return true;
  const char next = line[5];
  return next == ' ' || next == ':' || next == '\t' || IsDigit(next);
}

TScriptCheck CheckScript(TRtfDocument& document, bool compact) {
  return TScriptRun(document, compact).Run();
}

std::string UndefinedCharactersList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += name + ":\t\r\n";
  return list;
}

}  // namespace quorrel
