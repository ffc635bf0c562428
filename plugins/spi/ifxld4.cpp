// ifxld4.spi: XLD4 pictures through the portable retro decoder.
#include "retro_plugin.h"

const spi::Plugin& spi::ThisPlugin() {
  return RetroPlugin<retro::Xld4Format>(SPI_FILE_NAME " 1.0 XLD4 decoder for Glimora (C) 2024 Glimora developers");
}
