// Settings-menu actions about the link that go beyond the port list: a port
// given by name (a pseudo-terminal, a symbolic link, a serial device server
// on the network), the names of network ports, and the trace switch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Session.h"

namespace cfg {

// A port name of the form tcp://HOST:PORT reaches a serial device server (a
// serial-to-Ethernet converter that carries the line as a raw TCP stream).
// The prefix is matched without regard to case.
bool IsNetworkPortName(const std::string& name);
// Splits tcp://HOST:PORT. HOST is a name, an IPv4 address or an IPv6
// address in brackets ([::1]); PORT is 1..65535. Returns false for anything
// else, including a missing port or text after it.
bool ParseNetworkPortName(const std::string& name, std::string& host, uint16_t& port);

// The message that tells the user why `portName` could not be used, for the
// run-time error numbers of the port routines (8002, 8005, 8010 and the
// network errors 8101..8103). Returns false for other numbers.
bool PortErrorMessage(Session&, long number, const std::string& portName, std::string& title,
                      std::string& text);

// Tries to open a port with the session's frame settings and closes it
// again; returns 0 or the run-time error number of the failure.
using PortProbe = std::function<int(const PortSettings&)>;

// "Other port...": asks for any port name (initially the current one),
// checks with `probe` that it opens and only then keeps it (ChoosePort: the
// settings file is written). A name that does not open is explained and
// asked for again; an empty answer or Cancel changes nothing. Returns true
// when the port changed.
bool ChooseOtherPort(Session&, const PortProbe& probe);

// The trace file of the desktop program: beside the settings file.
std::string TraceFilePath(const Session&);
// Switches the trace of every byte on the line (the format of the command
// line's --trace) on, to TraceFilePath after what the file already holds,
// or off, and tells the user where the file is. A file that cannot be
// written is reported and leaves the trace off. Returns whether the trace
// is on now.
//
// The switch is not kept in the settings file: every start begins with the
// trace off. A trace is a diagnosis of one problem; one left running from
// an earlier day would grow without end and hide the exchange that matters.
bool SwitchTrace(Session&, bool on);
bool TraceOn(const LinkState&);

}  // namespace cfg
