// Asked while a picture decodes: true once nobody wants the picture any
// more, so the decode stops early (a plug-in through its progress callback).
#pragma once
#include <functional>

namespace picture {

using StopCheck = std::function<bool()>;

}  // namespace picture
