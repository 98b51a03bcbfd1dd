#include "sim/Concentrator.h"

namespace vimo::sim {

std::vector<Concentrator> FittedConcentrators() {
    Concentrator a;
    a.address = 3;
    a.inputs = true;
    a.model = "CI-8 ingressi";
    a.version = "2.03";
    a.commErrors = 2;
    a.in = {0, 1, 0, 0, 2, 0, 0, 4};
    Concentrator b;
    b.address = 14;
    b.inputs = true;
    b.model = "CI-8 ingressi";
    b.version = "2.05";
    Concentrator c;
    c.address = 17;
    c.outputs = true;
    c.model = "CU-8 uscite";
    c.version = "1.12";
    c.supply = 1;
    c.enclosure = 1;
    c.out = {0, 1, 0, 0, 0, 0, 2, 0};
    return {a, b, c};
}

LoopAnswer AnswerConcentrator(const std::vector<Concentrator>& units, int sub, std::span<const uint8_t> values) {
    LoopAnswer a;
    const Concentrator* unit = nullptr;
    if (!values.empty())
        for (const Concentrator& c : units)
            if (c.address == values[0]) unit = &c;
    if (!unit) {
        a.code = xanswer::kNoModule;
        return a;
    }
    auto text = [&a](const std::string& s) {
        for (char ch : s.substr(0, 30)) a.values.push_back(static_cast<uint8_t>(ch));
    };
    switch (sub) {
        case 9: text(unit->model); return a;
        case 10: text(unit->version); return a;
        case 1:
            a.values = {unit->supply, unit->enclosure, unit->commErrors};
            if (unit->inputs) a.values.insert(a.values.end(), unit->in.begin(), unit->in.end());
            if (unit->outputs) a.values.insert(a.values.end(), unit->out.begin(), unit->out.end());
            return a;
        default:
            a.code = xanswer::kRefused;
            return a;
    }
}

}  // namespace vimo::sim
