#include "ui/platform/LockKeys.h"

#include <dlfcn.h>

#include <QGuiApplication>

namespace quorrel {

namespace {

// The keyboard state record of the X keyboard extension (XKBlib's XkbStateRec).
struct TXkbState {
  unsigned char group;
  unsigned char lockedGroup;
  unsigned short baseGroup;
  unsigned short latchedGroup;
  unsigned char mods;
  unsigned char baseMods;
  unsigned char latchedMods;
  unsigned char lockedMods;
  unsigned char compatState;
  unsigned char grabMods;
  unsigned char compatGrabMods;
  unsigned char lookupMods;
  unsigned char compatLookupMods;
  unsigned short ptrButtons;
};

using TGetState = int (*)(Display*, unsigned int, TXkbState*);
using TKeysymToModifiers = unsigned int (*)(Display*, unsigned long);

constexpr unsigned int kUseCoreKeyboard = 0x0100;
constexpr unsigned int kLockMask = 1u << 1;
constexpr unsigned long kNumLockKeysym = 0xff7f;

// The X library is the one Qt's X11 platform has loaded already: it is looked up,
// not linked, so that the program needs no X11 where it runs without it.
struct TXkb {
  TGetState getState = nullptr;
  TKeysymToModifiers keysymToModifiers = nullptr;
  TXkb() {
    void* library = dlopen("libX11.so.6", RTLD_LAZY);
    if (!library) return;
    getState = reinterpret_cast<TGetState>(dlsym(library, "XkbGetState"));
    keysymToModifiers =
        reinterpret_cast<TKeysymToModifiers>(dlsym(library, "XkbKeysymToModifiers"));
  }
};

}  // namespace

bool QueryLockKeys(bool& caps, bool& num) {
  auto* app = qGuiApp;
  if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return false;
  static const TXkb xkb;
  if (!xkb.getState || !xkb.keysymToModifiers) return false;
  TXkbState state{};
  if (xkb.getState(display, kUseCoreKeyboard, &state) != 0) return false;
  caps = (state.lockedMods & kLockMask) != 0;
  const unsigned int numMask = xkb.keysymToModifiers(display, kNumLockKeysym);
  num = numMask != 0 && (state.lockedMods & numMask) != 0;
  return true;
}

}  // namespace quorrel
