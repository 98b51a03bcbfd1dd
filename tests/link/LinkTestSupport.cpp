#include "LinkTestSupport.h"

#include <algorithm>

namespace cfg::test {

ScriptedTransport::ScriptedTransport(FakeClock& clock) : clock_(clock) { last_ = clock_.SecondsSinceMidnight(); }

void ScriptedTransport::Sync() {
    const double t = clock_.SecondsSinceMidnight();
    double d = t - last_;
    if (d < 0) d += 86400.0;
    now_ += d;
    last_ = t;
    while (!pending_.empty() && pending_.front().first <= now_ + 1e-9) {
        input_.insert(input_.end(), pending_.front().second.begin(), pending_.front().second.end());
        pending_.pop_front();
    }
}

int ScriptedTransport::Open(const PortSettings& ps) {
    ++openCalls;
    lastSettings = ps;
    if (openError) return openError;
    open_ = true;
    return 0;
}

void ScriptedTransport::Close() {
    ++closeCalls;
    open_ = false;
    pending_.clear();
    input_.clear();
}

void ScriptedTransport::FlushInput() {
    Sync();
    input_.clear();
}

int ScriptedTransport::Write(const Bytes& frame) {
    writes.push_back(frame);
    if (writeError) return writeError;
    Sync();
    Script script;
    if (!replies.empty()) {
        script = replies.front();
        replies.pop_front();
    } else if (responder) {
        script = responder(frame);
    }
    double at = now_;
    for (auto& p : script) {
        at += p.delay;
        pending_.emplace_back(at, p.bytes);
    }
    Sync();
    return 0;
}

Bytes ScriptedTransport::Read(std::size_t maxBytes) {
    Sync();
    ++reads;
    std::size_t n = maxBytes == 0 ? input_.size() : std::min(maxBytes, input_.size());
    Bytes out(input_.begin(), input_.begin() + static_cast<long>(n));
    input_.erase(input_.begin(), input_.begin() + static_cast<long>(n));
    return out;
}

std::size_t ScriptedTransport::BytesAvailable() {
    Sync();
    return input_.size();
}

bool ScriptedTransport::WaitForInput(int ms) {
    Sync();
    if (!input_.empty()) return true;
    const double span = ms / 1000.0;
    if (!pending_.empty() && pending_.front().first <= now_ + span) {
        clock_.Advance(std::max(0.0, pending_.front().first - now_));
    } else {
        clock_.Advance(span);
    }
    Sync();
    return !input_.empty();
}

Bytes PanelFrame(int address, char letter, const Bytes& values, bool longForm, const Bytes& header) {
    Bytes body;
    if (longForm) {
        body.push_back(0);
        for (uint8_t h : header) body.push_back(static_cast<uint8_t>(h + 32));
        body.push_back(0x02);
    }
    body.push_back(static_cast<uint8_t>(address + 32));
    body.push_back(static_cast<uint8_t>(letter));
    for (uint8_t v : values) body.push_back(static_cast<uint8_t>(v + 32));
    if (longForm) body[0] = static_cast<uint8_t>(body.size() + 2 + 32);
    long sum = 0;
    for (uint8_t b : body) sum += b;
    body.push_back(static_cast<uint8_t>(sum / 224 + 32));
    body.push_back(static_cast<uint8_t>(sum % 224 + 32));
    body.push_back(0x0D);
    body.insert(body.begin(), longForm ? 0x01 : 0x02);
    return body;
}

SentCommand DecodeSent(const Bytes& f) {
    SentCommand c;
    std::size_t i = 0;
    if (!f.empty() && f[0] == 0x01) {
        c.longForm = true;
        for (i = 2; i < f.size() && f[i] != 0x02; ++i) c.header.push_back(static_cast<uint8_t>(f[i] - 32));
    }
    if (i + 3 > f.size()) return c;
    c.address = f[i + 1] == 0 ? 0 : f[i + 1] - 32;
    c.letter = static_cast<char>(f[i + 2]);
    for (std::size_t j = i + 3; j + 3 < f.size(); ++j) c.params.push_back(static_cast<uint8_t>(f[j] - 32));
    return c;
}

TestPanel::TestPanel() { SetIdentification("VIMO-SYS  2.10 12/05/04"); }

void TestPanel::SetIdentification(const std::string& text) {
    for (std::size_t i = 0; i < 23; ++i) memory[57604 + i] = static_cast<uint8_t>(i < text.size() ? text[i] : ' ');
}

int TestPanel::Count(char letter) const {
    return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const SentCommand& c) { return c.letter == letter; }));
}

Script TestPanel::Respond(const Bytes& frame) {
    SentCommand c = DecodeSent(frame);
    received.push_back(c);
    const Bytes& p = c.params;
    int normal = 143;
    Bytes extra;
    auto addressOf = [&] { return p[1] + 16 * p[2] + 256 * p[3] + 4096 * p[4]; };
    switch (c.letter) {
    case 'T': normal = 'O'; extra = {static_cast<uint8_t>(model)}; break;
    case 'C':
    case 'H': normal = 'O'; break;
    case 'L': {
        const int a = addressOf();
        for (int j = 0; j < p[5]; ++j) {
            extra.push_back(memory[(a + j) & 0xFFFF] & 15);
            extra.push_back(memory[(a + j) & 0xFFFF] >> 4);
        }
        break;
    }
    case 'J': break;
    case 'X': extra = loopReply; break;
    case 'D': {
        Bytes v{0};
        v.insert(v.end(), clock.begin(), clock.end());
        return {{0.01, PanelFrame(address, 'D', v, c.longForm)}};
    }
    default: return {};
    }
    int answer = normal;
    auto& queue = answers[c.letter];
    if (!queue.empty()) {
        answer = queue.front();
        queue.pop_front();
    }
    if (answer < 0) return {};
    if (answer != normal) extra.clear();
    if (c.letter == 'J' && answer == 143) {
        const int a = addressOf();
        for (int j = 0; j < p[5]; ++j)
            memory[(a + j) & 0xFFFF] = static_cast<uint8_t>((p[6 + 2 * j] & 15) + 16 * (p[7 + 2 * j] & 15));
    }
    Bytes values{0, static_cast<uint8_t>(answer)};
    values.insert(values.end(), extra.begin(), extra.end());
    return {{0.01, PanelFrame(address, c.letter, values, c.longForm)}};
}

LinkTest::LinkTest() : s(t.s), ui(t.ui), port(t.clock) {
    s.transport = &port;
    s.settings.PlantCode = "11";
    s.settings.CommPortName = "/dev/pts/7";
    s.link.PanelAddress = 1;
    port.responder = [this](const Bytes& f) { return panel.Respond(f); };
    start_ = t.clock.SecondsSinceMidnight();
}

double LinkTest::Elapsed() { return t.clock.SecondsSinceMidnight() - start_; }

}  // namespace cfg::test
