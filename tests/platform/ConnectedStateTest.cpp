// The connected state read from the system's interfaces, against Qt's own list.
#include <gtest/gtest.h>

#include <QNetworkInterface>

#include "platform/Inet.h"

namespace quorrel {
namespace {

TEST(ConnectedStateTest, AnInterfaceBeyondLoopbackWithAnAddressMeansConnected) {
  bool qtSays = false;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    const auto flags = iface.flags();
    if ((flags & QNetworkInterface::IsUp) && (flags & QNetworkInterface::IsRunning) &&
        !(flags & QNetworkInterface::IsLoopBack) && !iface.addressEntries().isEmpty()) {
      qtSays = true;
    }
  }
  SetConnectedStateOverride(-1);
  EXPECT_EQ(InternetGetConnectedState(), qtSays);

  // A forced state wins over the interfaces, both ways.
  for (const int forced : {0, 1}) {
    SetConnectedStateOverride(forced);
    EXPECT_EQ(InternetGetConnectedState(), forced == 1);
  }
  SetConnectedStateOverride(-1);
}

}  // namespace
}  // namespace quorrel
