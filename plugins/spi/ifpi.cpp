// ifpi.spi: Pi pictures through the portable retro decoder.
#include "retro_plugin.h"

const spi::Plugin& spi::ThisPlugin() {
  return RetroPlugin<retro::PiFormat>(SPI_FILE_NAME " 1.0 Pi decoder for Glimora (C) 2024 Glimora developers");
}
