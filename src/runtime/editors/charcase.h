#pragma once

namespace Rt {
// How a text editor treats the case of the letters typed into it.
enum class CharCase { Normal, Upper };
} // namespace Rt
