#include "spell/ISpeller.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>

#include "platform/CodePage.h"
#include "spell/CharsetNames.h"
#include "spell/Languages.h"
#include "spell/SpellChecker.h"

namespace quorrel {

namespace {

// Terse mode: correct words get no result line, only the empty line.
const char kTerseMode[] = "!";
// Saves the personal dictionary at once: hunspell and aspell keep an added word
// only until they end unless told.
const char kSaveDictionary[] = "#";

bool IsSeparator(unsigned char c) {
  static constexpr std::string_view kSeparators = " \"`<>!.,;:/\\|[]{}()+_=~@&$%^*?#-";
  // A line break or tab inside a "word" would be two lines or two words to the
  // program, and its answers would no longer match the words asked.
  return c < 0x20 || c == 0x7F || kSeparators.find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsMisspellingLine(const std::string& line) {
  return !line.empty() && (line[0] == '&' || line[0] == '?' || line[0] == '#');
}

bool HasDigit(const std::string& word) {
  return std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsAllCaps(const std::string& word) {
  return std::all_of(word.begin(), word.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return AnsiUpperChar(byte) == byte;
  });
}

}  // namespace

TISpeller::TISpeller(TLanguage language, TSpellOptions options, TSpellChecker* checker)
    : TAbstractSpeller(language, options, checker) {
  SpellerType = TSpellerType::sptISpell;
  folder_ = ISpellFolder();
  std::optional<TISpellSection> section =
      folder_.empty() ? std::nullopt
                      : FindISpellSection(language, checker ? checker->ISpellLanguage : "");
  if (!section) {
    NotAvailable = true;
    return;
  }
  section_ = *section;
  table_.Charset = section_.Charset;
  encoding_ = EncodingOfCharsetName(section_.Charset);
  languageName_ =
      section_.LangNo != 0
          ? LanguageName(section_.LangNo, checker ? checker->LangOption : TLangOption::loLocalized)
          : section_.Name;
  if (!Start()) NotAvailable = true;
}

TISpeller::~TISpeller() {
  Stop();
}

int64_t TISpeller::ProcessId() const {
  return process_ ? process_->processId() : 0;
}

bool TISpeller::Start() {
  // Split first, then put the folder in: a folder with a blank stays one argument.
  QStringList arguments = QProcess::splitCommand(AnsiToQString(section_.Cmd));
  if (arguments.isEmpty()) return false;
  const QString folder = AnsiToQString(folder_.substr(0, folder_.size() - 1));
  for (QString& argument : arguments)
    argument.replace(QString::fromLatin1(kISpellFolderPlaceholder), folder, Qt::CaseInsensitive);

  process_ = std::make_unique<QProcess>();
  process_->setProgram(arguments.takeFirst());
  process_->setArguments(arguments);
  process_->setWorkingDirectory(folder);
  // The program keeps its personal dictionary in its HOME: ours stays as it is.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), folder);
  process_->setProcessEnvironment(environment);
  // Nobody reads its complaints; unread, they could fill the pipe and stall it.
  process_->setStandardErrorFile(QProcess::nullDevice());
  process_->start(QIODevice::ReadWrite);

  std::string banner;
  if (!process_->waitForStarted(kAnswerMilliseconds) || !ReadLine(banner)) {
    Stop();
    return false;
  }
  try {
    Send(kTerseMode);
  } catch (const ESpellError&) {
    return false;
  }
  return true;
}

void TISpeller::Stop() {
  if (!process_) return;
  if (process_->state() != QProcess::NotRunning) {
    // The end of its input ends the program; only one that stays is ended by force.
    process_->closeWriteChannel();
    if (!process_->waitForFinished(kEndMilliseconds)) {
      process_->kill();
      process_->waitForFinished(kEndMilliseconds);
    }
  }
  process_.reset();
  pending_.clear();
}

void TISpeller::Failed() {
  Stop();
  NotAvailable = true;
  throw ESpellError("The spelling program stopped answering: " + section_.Cmd);
}

void TISpeller::Send(const std::string& line) {
  const std::u16string converted =
      ConvertForSpeller(AnsiToWide(line, CodePageOfLanguage(Language)), table_);
  std::string bytes;
  if (AnsiSameText(section_.Charset, kUtf8CharsetName)) {
    // Already UTF-8, a byte to a unit.
    for (char16_t unit : converted) bytes.push_back(static_cast<char>(unit));
  } else if (!encoding_.empty()) {
    bytes = WideToEncoded(converted, encoding_);
  } else {
    bytes = WideToAnsi(converted, CodePageOfLanguage(Language));
  }
  bytes += '\n';
  if (process_->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
      static_cast<qint64>(bytes.size()))
    Failed();
  // Lines that get no answer (adding, ignoring) go out now, not with the next question.
  while (process_->bytesToWrite() > 0) {
    if (!process_->waitForBytesWritten(kAnswerMilliseconds)) Failed();
  }
}

bool TISpeller::ReadLine(std::string& line) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::u16string wide = encoding_.empty() ? AnsiToWide(line, CodePageOfLanguage(Language))
                                                    : EncodedToWide(line, encoding_);
      line = WideToAnsi(wide, CodePageOfLanguage(Language));
      return true;
    }
    const QByteArray more = process_->readAllStandardOutput();
    if (!more.isEmpty()) {
      pending_.append(more.constData(), static_cast<size_t>(more.size()));
      continue;
    }
    // False as well when the program has ended; what it wrote last is read above.
    if (!process_->waitForReadyRead(kAnswerMilliseconds) && process_->bytesAvailable() == 0)
      return false;
  }
}

const std::vector<std::string>& TISpeller::Query(const std::string& word) {
  Send(word);
  lastWord_ = word;
  lastReply_.clear();
  std::string line;
  for (;;) {
    if (!ReadLine(line)) {
      lastWord_.clear();
      Failed();
    }
    if (line.empty()) break;
    lastReply_.push_back(line);
  }
  return lastReply_;
}

bool TISpeller::Misspelled(const std::string& word) {
  if (word.size() > kMaxWordLength) {
    lastWord_ = word;
    lastReply_.clear();
    return true;
  }
  const std::vector<std::string>& reply = Query(word);
  if (std::none_of(reply.begin(), reply.end(), IsMisspellingLine)) return false;
  if (Options.Contains(TSpellOption::spoIgnoreAllCaps) && IsAllCaps(word)) return false;
  if (Options.Contains(TSpellOption::spoIgnoreMixedDigits) && HasDigit(word)) return false;
  return true;
}

TSpellReturnCode TISpeller::Check(std::string_view text, size_t& misspelledLength,
                                  size_t& position) {
  misspelledLength = 0;
  position = 0;
  if (NotAvailable) return srNoErrors;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsSeparator(static_cast<unsigned char>(text[at]))) ++at;
    size_t start = at;
    while (at < text.size() && !IsSeparator(static_cast<unsigned char>(text[at]))) ++at;
    // Signs the program would take for commands.
    while (start < at && (text[start] == '*' || text[start] == '+' || text[start] == '-')) ++start;
    if (start == at) continue;
    const std::string word(text.substr(start, at - start));
    if (!Misspelled(word)) continue;
    position = start;
    misspelledLength = word.size();
    misspelled_ = word;
    for (const auto& [from, to] : changeAlways_) {
      if (from == word) {
        replacement_ = to;
        return srReturningChangeAlways;
      }
    }
    return srUnknownInputWord;
  }
  return srNoErrors;
}

TSpellReturnCode TISpeller::CheckSentenceStart(std::string_view text, size_t& misspelledLength,
                                               size_t& position) {
  return Check(text, misspelledLength, position);
}

TSpellReturnCode TISpeller::CheckText(std::string_view text, size_t& misspelledLength,
                                      size_t& position) {
  return Check(text, misspelledLength, position);
}

void TISpeller::ChangeOnce(const std::string&, const std::string&) {}

void TISpeller::ChangeAlways(const std::string& word, const std::string& replacement) {
  if (NotAvailable) return;
  for (auto& [from, to] : changeAlways_) {
    if (from == word) {
      to = replacement;
      return;
    }
  }
  changeAlways_.emplace_back(word, replacement);
}

void TISpeller::AddWord(const std::string& word) {
  if (NotAvailable || word.empty()) return;
  Send("*" + word);
  Send(kSaveDictionary);
}

void TISpeller::IgnoreAlways(const std::string& word) {
  if (NotAvailable || word.empty()) return;
  Send("@" + word);
}

void TISpeller::GetVariants(const std::string& word, std::vector<std::string>& list) {
  list.clear();
  if (NotAvailable || word.size() > kMaxWordLength) return;
  // The answer about the word flagged last is at hand; another word is asked about.
  const std::vector<std::string>& reply = word == lastWord_ ? lastReply_ : Query(word);
  for (const std::string& line : reply) {
    if (line.empty() || (line[0] != '&' && line[0] != '?')) continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    size_t at = colon + 1;
    while (at <= line.size()) {
      size_t end = line.find(',', at);
      if (end == std::string::npos) end = line.size();
      size_t from = at;
      while (from < end && line[from] == ' ') ++from;
      size_t to = end;
      while (to > from && line[to - 1] == ' ') --to;
      const std::string variant = line.substr(from, to - from);
      if (!variant.empty() && std::find(list.begin(), list.end(), variant) == list.end())
        list.push_back(variant);
      at = end + 1;
    }
  }
}

std::string TISpeller::GetReplacement() {
  return NotAvailable ? std::string() : replacement_;
}

std::string TISpeller::GetMisspelled() {
  return NotAvailable ? std::string() : misspelled_;
}

}  // namespace quorrel
