#pragma once
// Which inputs a fit of the "变位识别" page was made from, so that the fit is taken away
// (and "采用" barred) as soon as one of them changes: the inclined tank as the level from
// a known volume reads it (its page, the heads, the dead volume and the attachment, the
// method, the structure tab), the records file, its columns and the β option.

#include "capacity/named_inputs.h"

#include <string_view>

namespace kelvora::identify {

bool fitReads(std::string_view input, const capacity::NamedInputs& inputs);

} // namespace kelvora::identify
