#include "shell/DirectoryListing.h"

#include <QByteArray>
#include <QUrl>

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr char kListingMark[] = "<h1>Index of";

std::string Unescaped(std::string text) {
  return ReplaceAll(text, "&amp;", "&", true);
}

QUrl UrlOf(const std::string& bytes) {
  return QUrl::fromEncoded(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                           QUrl::TolerantMode);
}

// The listed folder: the path the heading names on the address's server, else the
// address itself taken as a folder.
QUrl ListedFolder(const std::string& address, const std::string& page) {
  QUrl folder = UrlOf(address);
  folder.setQuery(QString());
  folder.setFragment(QString());
  const size_t mark = PosCase(kListingMark, page);
  if (mark > 0) {
    size_t start = mark - 1 + sizeof kListingMark - 1;
    size_t end = page.find('<', start);
    if (end != std::string::npos) {
      std::string path = Unescaped(page.substr(start, end - start));
      while (!path.empty() && path.front() == ' ') path.erase(0, 1);
      while (!path.empty() && path.back() == ' ') path.pop_back();
      if (!path.empty() && path.front() == '/') {
        folder.setPath(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())),
                       QUrl::DecodedMode);
      }
    }
  }
  QString path = folder.path(QUrl::FullyEncoded);
  if (!path.endsWith('/')) folder.setPath(path + '/', QUrl::StrictMode);
  return folder;
}

bool Inside(const QUrl& entry, const QUrl& folder) {
  if (entry.scheme() != folder.scheme() || entry.host() != folder.host() ||
      entry.port() != folder.port() || entry.hasQuery()) {
    return false;
  }
  const QString path = entry.path(QUrl::FullyEncoded);
  const QString base = folder.path(QUrl::FullyEncoded);
  return path.size() > base.size() && path.startsWith(base);
}

}  // namespace

bool IsDirectoryListing(const std::string& page) {
  return PosCase(kListingMark, page) > 0;
}

std::vector<std::string> ListingEntries(const std::string& address, const std::string& page) {
  std::vector<std::string> entries;
  const QUrl folder = ListedFolder(address, page);
  size_t from = 1;
  while (size_t at = PosNoCase("href=\"", page, from)) {
    const size_t start = at - 1 + 6;
    const size_t end = page.find('"', start);
    if (end == std::string::npos) break;
    from = end + 2;
    const std::string href = Unescaped(page.substr(start, end - start));
    if (href.empty() || href == "/" || href[0] == '?' || href[0] == '#') continue;
    QUrl entry = folder.resolved(UrlOf(href));
    entry.setFragment(QString());
    if (!Inside(entry, folder)) continue;
    const QByteArray encoded = entry.toEncoded();
    entries.emplace_back(encoded.constData(), static_cast<size_t>(encoded.size()));
  }
  return entries;
}

std::string DirectoryListingText(const std::string& address, const std::string& page) {
  std::string text = "Directory " + address +
                     " contains the following files.\rDouble-click a file name to download it.\r\r";
  const std::vector<std::string> entries = ListingEntries(address, page);
  if (entries.empty()) return text + "There are no entries in this folder.";
  for (const std::string& entry : entries) text += entry + "\r\n\r\n";
  return text;
}

}  // namespace quorrel
