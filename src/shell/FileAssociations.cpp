#include "shell/FileAssociations.h"

#include <QByteArray>
#include <algorithm>
#include <QMimeDatabase>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"

namespace quorrel {

namespace fs = std::filesystem;

namespace {

const char OwnTypePrefix[] = "application/x-quorrel-";
const char DefaultsSection[] = "[Default Applications]";
const char AddedSection[] = "[Added Associations]";

bool packageWritten = false;
std::function<void()> assForm;

std::string Env(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string Home() { return Env("HOME", "/tmp"); }
std::string ConfigHome() { return Env("XDG_CONFIG_HOME", Home() + "/.config"); }
std::string DataHome() { return Env("XDG_DATA_HOME", Home() + "/.local/share"); }

std::vector<std::string> SplitList(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

std::vector<std::string> DataDirs() {
  return SplitList(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), ':');
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of a key in a section of a desktop-style key file; "" when absent.
std::string KeyValue(const std::vector<std::string>& lines, const std::string& section,
                     const std::string& key) {
  bool inside = false;
  for (const std::string& raw : lines) {
    const std::string line = Trim(raw);
    if (!line.empty() && line.front() == '[') {
      inside = line == section;
      continue;
    }
    const size_t equals = line.find('=');
    if (inside && equals != std::string::npos && Trim(line.substr(0, equals)) == key) {
      return Trim(line.substr(equals + 1));
    }
  }
  return {};
}

// Sets a key in a section, adding the section at the end when it is missing; the
// other lines stay as they were.
void SetKeyValue(std::vector<std::string>& lines, const std::string& section,
                 const std::string& key, const std::string& value) {
  const std::string entry = key + "=" + value;
  size_t sectionLine = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Trim(lines[i]) == section) {
      sectionLine = i;
      break;
    }
  }
  if (sectionLine == lines.size()) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back(section);
    lines.push_back(entry);
    return;
  }
  size_t end = sectionLine + 1;
  for (; end < lines.size(); ++end) {
    const std::string line = Trim(lines[end]);
    if (!line.empty() && line.front() == '[') break;
    const size_t equals = line.find('=');
    if (equals != std::string::npos && Trim(line.substr(0, equals)) == key) {
      lines[end] = entry;
      return;
    }
  }
  // After the section's last key, before any blank lines that close it.
  while (end > sectionLine + 1 && Trim(lines[end - 1]).empty()) --end;
  lines.insert(lines.begin() + static_cast<long>(end), entry);
}

// Writes the whole file beside its place and then gives it the name, so that a
// failed write leaves the old file as it was. Stops the command on failure.
void WriteFileOrAbort(const std::string& path, const std::string& text) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  const std::string temporary = path + ".new";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    written = out.good();
  }
  if (written) {
    fs::rename(temporary, path, error);
    written = !error;
  }
  if (!written) {
    fs::remove(temporary, error);
    ShowErrorAndAbort("Could not create " + PathFromNative(path));
  }
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string Utf8(const std::string& ansi) { return AnsiToQString(ansi).toUtf8().toStdString(); }

std::string XmlEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// One argument of a desktop entry's Exec key: quoted when it holds a reserved
// character, and escaped once for the quoting and once for the key file.
std::string ExecArgument(const std::string& argument) {
  if (argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) return argument;
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string RunningProgram() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string("quorrel") : self.string();
}

bool DesktopFileInstalled(const std::string& id) {
  std::error_code error;
  if (fs::exists(UserApplicationsFolder() + id, error)) return true;
  for (const std::string& dir : DataDirs()) {
    if (fs::exists(dir + "/applications/" + id, error)) return true;
  }
  return false;
}

std::string LowerExtension(const std::string& extension) {
  return QString::fromLatin1(extension.substr(1)).toLower().toStdString();
}

void WriteDesktopEntry(const std::string& type) {
  const std::string path = UserApplicationsFolder() + DesktopFileName;
  std::vector<std::string> types =
      SplitList(KeyValue(Lines(ReadAll(path)), "[Desktop Entry]", "MimeType"), ';');
  if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  std::string mimeTypes;
  for (const std::string& each : types) mimeTypes += each + ";";
  WriteFileOrAbort(path, "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=Quorrel\n"
                         "GenericName=Web page editor\n"
                         "Exec=" + ExecArgument(RunningProgram()) + " %f\n"
                         "Terminal=false\n"
                         "Categories=Development;TextEditor;\n"
                         "MimeType=" + mimeTypes + "\n");
}

void WriteMimePackage(const std::string& extension, const std::string& type,
                      const std::string& description) {
  const std::string lower = LowerExtension(extension);
  const std::string path = UserMimeFolder() + "packages/quorrel-" + lower + ".xml";
  WriteFileOrAbort(
      path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"" + type + "\">\n"
            "    <sub-class-of type=\"text/plain\"/>\n"
            "    <comment>" + XmlEscaped(Utf8(description)) + "</comment>\n"
            "    <glob pattern=\"*." + lower + "\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
  packageWritten = true;
}

void WriteMimeApps(const std::string& type) {
  const std::string path = MimeAppsListPath();
  std::vector<std::string> lines = Lines(ReadAll(path));
  SetKeyValue(lines, DefaultsSection, type, std::string(DesktopFileName) + ";");
  std::string added = std::string(DesktopFileName) + ";";
  for (const std::string& id : SplitList(KeyValue(lines, AddedSection, type), ';')) {
    if (id != DesktopFileName) added += id + ";";
  }
  SetKeyValue(lines, AddedSection, type, added);
  WriteFileOrAbort(path, JoinLines(lines));
}

// Runs a desktop tool and waits for it; false when it is missing or failed.
bool RunAndWait(const std::string& program, const std::vector<std::string>& arguments) {
  if (FindProgram(program).empty()) return false;
  if (StartProgram(program, arguments).outcome != TStartOutcome::Started) return false;
  return WaitForLastProgram() == 0;
}

}  // namespace

std::string UserApplicationsFolder() { return DataHome() + "/applications/"; }
std::string UserMimeFolder() { return DataHome() + "/mime/"; }
std::string MimeAppsListPath() { return ConfigHome() + "/mimeapps.list"; }

std::string AssExtension(const std::string& caption) {
  std::string extension = UpperCaseLatin1(caption.substr(0, caption.find(' ')));
  if (extension.empty() || extension.front() != '.') extension.insert(0, ".");
  if (extension.size() < 2) return {};
  for (size_t i = 1; i < extension.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(extension[i]);
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                         c == '+' || c == '-';
    if (!allowed) return {};
  }
  return extension;
}

std::string AssMimeType(const std::string& extension) {
  const QString name = "file." + QString::fromLatin1(LowerExtension(extension));
  const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(name);
  if (!types.isEmpty()) return types.front().name().toStdString();
  return OwnTypePrefix + LowerExtension(extension);
}

bool IsAssociated(const std::string& extension) {
  const std::string type = AssMimeType(extension);
  std::vector<std::string> dirs = {ConfigHome()};
  for (const std::string& dir : SplitList(Env("XDG_CONFIG_DIRS", "/etc/xdg"), ':')) {
    dirs.push_back(dir);
  }
  dirs.push_back(DataHome() + "/applications");
  for (const std::string& dir : DataDirs()) dirs.push_back(dir + "/applications");
  // In each folder the current desktop's own list comes before the common one.
  std::vector<std::string> names;
  for (const std::string& desktop : SplitList(Env("XDG_CURRENT_DESKTOP", ""), ':')) {
    names.push_back(QString::fromStdString(desktop).toLower().toStdString() + "-mimeapps.list");
  }
  names.emplace_back("mimeapps.list");
  std::vector<std::string> lists;
  for (const std::string& dir : dirs) {
    for (const std::string& name : names) lists.push_back(dir + "/" + name);
  }
  for (const std::string& list : lists) {
    const std::string value = KeyValue(Lines(ReadAll(list)), DefaultsSection, type);
    for (const std::string& id : SplitList(value, ';')) {
      if (DesktopFileInstalled(id)) return id == DesktopFileName;
    }
  }
  return false;
}

void Associate(const std::string& extension, const std::string& description) {
  const std::string type = AssMimeType(extension);
  if (type.rfind(OwnTypePrefix, 0) == 0) WriteMimePackage(extension, type, description);
  WriteDesktopEntry(type);
  WriteMimeApps(type);
}

void AssociationsChanged() {
  if (packageWritten) {
    packageWritten = false;
    const std::string folder = UserMimeFolder().substr(0, UserMimeFolder().size() - 1);
    // Without the rebuilt database the desktop does not know the new types.
    if (!RunAndWait("update-mime-database", {folder})) {
      ShowMsg("Could not run update-mime-database on " + PathFromNative(folder) +
              ": the new file types are not known yet.");
    }
  }
  RunAndWait("update-desktop-database",
             {UserApplicationsFolder().substr(0, UserApplicationsFolder().size() - 1)});
}

void SetAssForm(std::function<void()> show) { assForm = std::move(show); }

void InstallFileAssCommand() {
  MainMenu().SetHandler("FileAss", [](const TMenuItem&) {
    if (assForm) assForm();
  });
}

}  // namespace quorrel
