#include "Input.h"

#include <cmath>

#include "Text.h"

namespace cfg {

int AskValue(Session& s, const ValueRequest& req, ValueAnswer& answer) {
    answer = s.ui->AskValue(req);
    if (!answer.confirmed) return 0;
    switch (req.kind) {
    case 1: {
        // The typed text is the value: only a plain number passes.
        double v = ParseNumber(answer.text);
        {
            const std::string& t = answer.text;
            // Only a plain number is a value: "12a" or "" is refused.
            bool digits = false, ok = true;
            std::size_t i = 0;
            while (i < t.size() && t[i] == ' ') ++i;
            if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
            for (; i < t.size(); ++i) {
                if (t[i] >= '0' && t[i] <= '9') digits = true;
                else if (t[i] == '.') {}
                else if (t[i] == ' ') {}
                else { ok = false; break; }
            }
            if (!ok || !digits) return 0;
        }
        if (v < req.minimum || v > req.maximum) return 0;
        if (std::floor(req.minimum) == req.minimum && std::floor(req.maximum) == req.maximum &&
            std::floor(v) != v)
            return 0;
        answer.number = v;
        return kInputConfirmed;
    }
    case 3:
        if (answer.index < 0 || answer.index >= static_cast<int>(req.items.size())) return 0;
        return kInputConfirmed;
    default:
        return kInputConfirmed;
    }
}

int AskNumber(Session& s, const std::string& title, const std::string& prompt, long initial,
              long minimum, long maximum, long& value, int top, int left) {
    ValueRequest req;
    req.kind = 1;
    req.title = title;
    req.prompt = prompt;
    req.initialText = std::to_string(initial);
    req.minimum = static_cast<double>(minimum);
    req.maximum = static_cast<double>(maximum);
    req.top = top;
    req.left = left;
    ValueAnswer a;
    if (AskValue(s, req, a) != kInputConfirmed) return 0;
    value = static_cast<long>(a.number);
    return kInputConfirmed;
}

}  // namespace cfg
