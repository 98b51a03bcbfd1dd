// Working state of the panel link: the command being sent, the last reply and
// what the connection learned about the panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Cells.h"

namespace cfg {

using Bytes = std::vector<uint8_t>;

struct LinkState {
    bool PortOpened = false;    // a panel configuration is open on the link
    bool CloseBlocked = false;  // the main window refuses to close
    // The status of the last link operation, kept where the main loop or the
    // user still needs it after the operation has returned its result.
    int LinkStatus = 0;
    // The run-time error handler's record: the last error number, and
    // whether it stays silent (QuietFileErrors sets and restores it).
    long LastErrorNumber = 0;
    bool QuietErrors = false;

    Bytes CommandText;   // address, command letter, parameters (values, not yet +32)
    Bytes HeaderField;   // sent between SOH and STX of a long frame
    Bytes AccessField;   // the encoded access code; empty until entered
    Bytes ReplyData;     // decoded data of the last accepted reply
    Bytes ReplyHeader;   // decoded header of the last long reply

    int16_t PanelAddress = 0;
    int16_t PanelModel = 0;
    std::string PanelName;         // identification characters 1..10
    std::string PanelVersionText;  // 11..15
    std::string PanelDateText;     // 16..23
    double PanelVersion = 0;

    // Loop-command buffer: [1] = number of values incl. the sub-command,
    // [2] = sub-command, [3..] = values.
    BoundedArray<int16_t, 1, 32> LoopCommand;
    int16_t LoopNumber = 1;  // 1 or 2; sent as loop number + 64

    // Relay (file link) mode: mailbox paths and the values of Par_app.tmp.
    std::string MailboxTxPath;
    std::string MailboxRxPath;
    std::string RelayPath;

    // Optional trace of every byte written and read.
    std::string TraceFile;

    // The interval last given to the timer that clears the status line, so
    // that an exchange that held the timer off can start it again with the
    // same interval.
    int StatusTimerInterval = 1500;

    // Open LongOperation scopes: while above 0 the block operations inside
    // one long command leave the abort timer and a pending abort alone.
    int LongOperations = 0;

    // Values cleared when a configuration is closed (main loop state 0).
    void ResetForClose() {
        CommandText.clear();
        HeaderField.clear();
        ReplyData.clear();
        ReplyHeader.clear();
        PanelModel = 0;
        PanelName.clear();
        PanelVersionText.clear();
        PanelDateText.clear();
        PanelVersion = 0;
        LoopCommand.Fill(0);
    }
};

}  // namespace cfg
