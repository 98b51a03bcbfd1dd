// The Ui of the fuzz targets: no person is there, so every message is
// taken as answered with OK and every other request gets its head-less
// default.
#pragma once

#include "shell/HeadlessUi.h"

namespace cfg::fuzz {

class FuzzUi : public HeadlessUi {
public:
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        return MsgAnswer::Ok;
    }
};

}  // namespace cfg::fuzz
