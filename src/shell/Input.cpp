#include "Input.h"

#include <cmath>

#include "FileNames.h"
#include "Text.h"

namespace cfg {

bool AcceptsNumber(const ValueRequest& req, const std::string& text, double& value) {
    // A plain number: blanks around it, an optional sign, digits and at most
    // one decimal point. "12a", "1 2" or "" are not numbers.
    const std::string t = Trim(text);
    std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    bool digit = false, dot = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') digit = true;
        else if (t[i] == '.' && !dot) dot = true;
        else return false;
    }
    if (!digit) return false;
    const double v = ParseNumber(t);
    if (v < req.minimum || v > req.maximum) return false;
    // Whole bounds ask for a whole number.
    if (std::floor(req.minimum) == req.minimum && std::floor(req.maximum) == req.maximum && std::floor(v) != v)
        return false;
    value = v;
    return true;
}

int AskValue(Session& s, const ValueRequest& req, ValueAnswer& answer) {
    answer = s.ui->ShowValueDialog(req);
    if (!answer.confirmed) return 0;
    switch (req.kind) {
    case 1: {
        double v = 0;
        if (!AcceptsNumber(req, answer.text, v)) return 0;
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

int AskNumber(Session& s, ValueTopic topic, const std::string& title, const std::string& prompt, long initial,
              long minimum, long maximum, long& value, int top, int left) {
    ValueRequest req;
    req.kind = 1;
    req.topic = topic;
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
