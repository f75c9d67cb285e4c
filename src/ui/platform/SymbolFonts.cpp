#include "ui/platform/SymbolFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>

static void InitFontResources() {
  Q_INIT_RESOURCE(fonts);
}

namespace quorrel {

bool UseSymbolFonts() {
  static const bool loaded = [] {
    InitFontResources();
    if (QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/QuorrelSymbols.ttf")) < 0) {
      return false;
    }
    // Only where the system has no font of that name.
    if (!QFontDatabase::hasFamily(QStringLiteral("Wingdings"))) {
      QFont::insertSubstitution(QStringLiteral("Wingdings"), QString::fromLatin1(kSymbolStandIn));
    }
    return true;
  }();
  return loaded;
}

}  // namespace quorrel
