#include "sim/loopback/LoopbackTransport.h"

#include <algorithm>
#include <cmath>

namespace cfg {

LoopbackTransport::LoopbackTransport(Clock& clock, const vimo::sim::PanelSettings& settings)
    : clock_(clock), owned_(std::make_unique<vimo::sim::Panel>(settings)), panel_(owned_.get()) {}

LoopbackTransport::LoopbackTransport(Clock& clock, vimo::sim::Panel& panel) : clock_(clock), panel_(&panel) {}

int64_t LoopbackTransport::NowMs() {
    const double s = clock_.SecondsSinceMidnight();
    // A clock that jumps back by more than half a day has passed midnight.
    if (lastSeconds_ >= 0 && s < lastSeconds_ - 43200) dayOffsetMs_ += 86400000;
    lastSeconds_ = s;
    return dayOffsetMs_ + static_cast<int64_t>(std::floor(s * 1000.0 + 0.5));
}

int LoopbackTransport::PaceBaud() const {
    if (!pacing_) return 0;
    return baudOverride_ > 0 ? baudOverride_ : portBaud_;
}

void LoopbackTransport::SetPacing(bool on, int baudOverride) {
    pacing_ = on;
    baudOverride_ = baudOverride;
    panel_->SetPacing(PaceBaud());
}

int LoopbackTransport::Open(const PortSettings& settings) {
    if (failOpen_ != 0) {
        const int e = failOpen_;
        failOpen_ = 0;
        return e;
    }
    if (open_) return 8005;
    open_ = true;
    ++opens_;
    portBaud_ = settings.baud > 0 ? settings.baud : 9600;
    panel_->SetPacing(PaceBaud());
    panel_->DiscardOutput();
    panel_->ResetLine();
    return 0;
}

void LoopbackTransport::Close() {
    open_ = false;
    // Whatever was on its way is lost with the port.
    panel_->DiscardOutput();
    panel_->ResetLine();
}

void LoopbackTransport::FlushInput() {
    if (open_) panel_->DiscardReady(NowMs());
}

int LoopbackTransport::Write(const std::vector<uint8_t>& bytes) {
    if (!open_) return 57;
    written_.insert(written_.end(), bytes.begin(), bytes.end());
    int64_t at = NowMs();
    if (const int baud = PaceBaud(); baud > 0) {
        at = std::max(at, lineFreeMs_) + (static_cast<int64_t>(bytes.size()) * 10000 + baud - 1) / baud;
        lineFreeMs_ = at;
    }
    panel_->Feed(bytes, at);
    return 0;
}

std::vector<uint8_t> LoopbackTransport::Read(std::size_t maxBytes) {
    if (!open_) return {};
    return panel_->TakeOutput(NowMs(), maxBytes);
}

std::size_t LoopbackTransport::BytesAvailable() {
    if (!open_) return 0;
    const int64_t now = NowMs();
    panel_->Advance(now);
    return panel_->OutputReady(now);
}

bool LoopbackTransport::WaitForInput(int ms) {
    if (!open_) {
        if (ms > 0) clock_.SleepMs(ms);
        return false;
    }
    const int64_t now = NowMs();
    if (panel_->OutputReady(now) > 0) return true;
    const std::optional<int64_t> next = panel_->NextOutputAt();
    if (next && *next - now <= ms) {
        // Sleep just until the first byte is readable.
        clock_.SleepMs(static_cast<int>(std::max<int64_t>(*next - now, 0)));
        // A clock that sleeps in coarse steps may still fall short; the
        // caller waits again in that case.
        return BytesAvailable() > 0;
    }
    if (ms > 0) clock_.SleepMs(ms);
    return BytesAvailable() > 0;
}

}  // namespace cfg
