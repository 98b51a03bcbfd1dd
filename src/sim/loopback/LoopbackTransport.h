// A Transport whose far end is a simulated panel in the same process. Time
// comes from the Clock it is given, so with a fake clock every exchange,
// time-out and paced reply is deterministic.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shell/Clock.h"
#include "shell/Transport.h"
#include "sim/Panel.h"

namespace cfg {

class LoopbackTransport final : public Transport {
public:
    // Hosts its own panel.
    explicit LoopbackTransport(Clock& clock, const vimo::sim::PanelSettings& settings = {});
    // Talks to a panel owned by the caller (it must outlive the transport).
    LoopbackTransport(Clock& clock, vimo::sim::Panel& panel);

    int Open(const PortSettings& settings) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void FlushInput() override;
    int Write(const std::vector<uint8_t>& bytes) override;
    std::vector<uint8_t> Read(std::size_t maxBytes) override;
    std::size_t BytesAvailable() override;
    bool WaitForInput(int ms) override;

    vimo::sim::Panel& Panel() { return *panel_; }

    // Pacing: with it on, the command takes its transmission time to reach
    // the panel and the reply's bytes become readable one by one, 10 bits
    // per byte at the baud rate of the open port (or `baudOverride`).
    void SetPacing(bool on, int baudOverride = 0);
    // The error number the next Open returns (0 = opens normally), to test a
    // port that is missing or busy.
    void FailNextOpen(int errorNumber) { failOpen_ = errorNumber; }
    // Everything the tool wrote, for assertions.
    const std::vector<uint8_t>& Written() const { return written_; }
    int OpenCount() const { return opens_; }

    // Host time in milliseconds: the clock's seconds since midnight, made
    // monotonic across midnight.
    int64_t NowMs();

private:
    int PaceBaud() const;

    Clock& clock_;
    std::unique_ptr<vimo::sim::Panel> owned_;
    vimo::sim::Panel* panel_;
    bool open_ = false;
    bool pacing_ = false;
    int baudOverride_ = 0;
    int portBaud_ = 9600;
    int failOpen_ = 0;
    int opens_ = 0;
    std::vector<uint8_t> written_;
    double lastSeconds_ = -1;
    int64_t dayOffsetMs_ = 0;
    int64_t lineFreeMs_ = 0;  // when the tool's last byte has reached the panel
};

}  // namespace cfg
