// The frame layer: one command to the panel and its reply, over the serial
// port (Transport) or the relay mailbox files.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// Opens the port with the current settings (relay mode: clears the mailboxes).
// LinkStatus 255 on success; on failure the error went through
// HandleRuntimeError and LastErrorNumber is set.
OpResult OpenPanelPort(Session&);
void ClosePanelPort(Session&);

// Sends link.CommandText (with link.HeaderField when useHeader is set) and
// waits for the reply. retries = total attempts. On return LinkStatus holds
// the status (255, 0, 129, 131..134), link.ReplyData/ReplyHeader the decoded
// reply, and useHeader tells whether the reply came in the long form.
int SendCommand(Session&, int timeoutSeconds, int retries, bool expectReply, bool& useHeader);
int SendCommandViaFiles(Session&, int timeoutSeconds, int retries, bool expectReply, bool& useHeader);

// True for a line the trace writes: "HH:MM:SS.mmm TX 02 21 ..." (or RX).
bool IsTraceLine(const std::string& line);
// True when a trace may be added to `path`: no such file yet, an empty file,
// or a file whose first line is a trace line. A folder or any other file is
// somebody else's and is refused.
bool CanAppendTrace(const std::string& path);

// Builds link.AccessField from the digits of an access code.
void EncodeAccessCode(LinkState&, const std::string& digits);
// Explains LinkStatus in a message box (tidies the busy area first).
void ReportLinkError(Session&);

// Relay mode: Par_app.tmp, fileTX.bin / fileRX.bin.
// Reads the relay arguments ("TW" among the "/"-separated arguments) and
// Par_app.tmp from `workingFolder`; sets FileLinkMode, RelayPlantCode,
// RelayBaudRate and the mailbox paths in the program folder.
void ReadRelayParameters(Session&, const std::string& commandLine, const std::string& workingFolder);
void PutMailbox(Session&, const Bytes& frame);
Bytes GetMailbox(LinkState&);
void ClearMailboxes(LinkState&);

}  // namespace cfg
