// The saver loads a plug-in for every picture and frees it afterwards, for
// days on end: loading must leave nothing behind in the process.
#include <windows.h>

#include <gtest/gtest.h>

#include "spi_dll.h"

namespace {

// The next free thread-local slot index: it climbs when something keeps slots.
DWORD NextTlsIndex() {
  DWORD index = TlsAlloc();
  TlsFree(index);
  return index;
}

TEST(Reload, LoadingAndFreeingAPluginKeepsNoThreadLocalSlots) {
  for (const char* file : {"ifjpeg.spi", "ifgif.spi", "iftiff.spi", "ifpic.spi", "ifpic2.spi",
                           "ifmag.spi", "ifxld4.spi", "ifpi.spi"}) {
    DWORD before = NextTlsIndex();
    for (int i = 0; i < 300; ++i) {
      spitest::SpiDll dll(file);
      ASSERT_TRUE(dll.Loaded()) << file;
      ASSERT_GT(dll.Info(0).size(), 0u) << file;
    }
    EXPECT_EQ(NextTlsIndex(), before) << file << " keeps a slot per load";
  }
}

}  // namespace
