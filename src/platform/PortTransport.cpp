#include "platform/PortTransport.h"

#include "shell/LinkSettings.h"

namespace cfg {

int PortTransport::Open(const PortSettings& ps) {
    if (active_->IsOpen()) return active_->Open(ps);  // reports "already open"
    active_ = IsNetworkPortName(ps.portName) ? static_cast<Transport*>(&tcp_) : &serial_;
    return active_->Open(ps);
}

void PortTransport::Close() { active_->Close(); }
bool PortTransport::IsOpen() const { return active_->IsOpen(); }
void PortTransport::FlushInput() { active_->FlushInput(); }
int PortTransport::Write(const std::vector<uint8_t>& bytes) { return active_->Write(bytes); }
std::vector<uint8_t> PortTransport::Read(std::size_t maxBytes) { return active_->Read(maxBytes); }
std::size_t PortTransport::BytesAvailable() { return active_->BytesAvailable(); }
bool PortTransport::WaitForInput(int ms) { return active_->WaitForInput(ms); }
int PortTransport::LinkFailure() { return active_->LinkFailure(); }

int ProbePort(const PortSettings& ps) {
    PortTransport t;
    const int rc = t.Open(ps);
    if (rc == 0) t.Close();
    return rc;
}

}  // namespace cfg
