// vimo-sim serves a pseudo-terminal and a TCP port on POSIX systems only; on
// Windows it serves the relay files. Tests that need its pty or TCP port
// skip there (scripts/test-windows.sh connects the Windows programs to the
// Linux simulator through a COM port instead).
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define CFG_NEEDS_SIM_PORT() GTEST_SKIP() << "vimo-sim serves a pty or TCP on POSIX systems only"
#else
#define CFG_NEEDS_SIM_PORT() static_cast<void>(0)
#endif
