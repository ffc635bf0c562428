// The size of the plug-ins' previews: each side a quarter of the picture's,
// rounded up. The host shrinks a preview to the screen, so a fixed quarter
// serves every screen alike and keeps the size a host expects. Portable.
#pragma once

namespace wic {

constexpr unsigned QuarterSide(unsigned side) { return side / 4 + (side % 4 != 0 ? 1 : 0); }

}  // namespace wic
