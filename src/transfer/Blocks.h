// The block entry points of the editors: the open file set (ConfigSource 1)
// or the panel (ConfigSource 2). Any other source gives LinkStatus 240.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// `address` is the file offset with a file set and the panel address with
// the panel; `extension` is the file of the set (".CY2", ".PY2", ".UY2", ".MY2").
OpResult ReadBlock(Session&, long address, int count, const std::string& extension, int destIndex, CellSpan dest);
// Writes src[1..count].
OpResult WriteBlock(Session&, long address, int count, const std::string& extension, CellSpan src);

}  // namespace cfg
