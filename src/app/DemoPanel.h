// The demonstration panel of `cfgvimo --demo`: the simulator in the same
// process, with a sample plant, behind the Transport interface.
#pragma once

#include <memory>

#include "shell/Clock.h"
#include "shell/Session.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg {

// The address the demonstration panel answers on.
inline constexpr int kDemoAddress = 1;

// Builds the demonstration panel on the session's plant code, paced like a
// real line, and points the link at its address. The settings file's
// [Demo] Walk=SECONDS plays a walk test on it.
std::unique_ptr<LoopbackTransport> MakeDemoPanel(Session&, Clock&);

}  // namespace cfg
