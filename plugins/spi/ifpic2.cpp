// ifpic2.spi: PIC2 pictures through the portable retro decoder.
#include "retro_plugin.h"

const spi::Plugin& spi::ThisPlugin() {
  return RetroPlugin<retro::Pic2Format>(SPI_FILE_NAME " 1.0 PIC2 decoder for Glimora (C) 2024 Glimora developers");
}
