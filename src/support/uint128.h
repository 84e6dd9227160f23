// The compiler's 128-bit unsigned integer, named once (it is an extension of the language).
#pragma once

namespace korv {
__extension__ typedef unsigned __int128 uint128;
}  // namespace korv
