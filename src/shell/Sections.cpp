#include "Sections.h"

#include <algorithm>

namespace cfg {

void SectionTable::Add(SectionDef def) {
    auto it = std::find_if(rows_.begin(), rows_.end(), [&](const SectionDef& r) { return r.code == def.code; });
    if (it != rows_.end())
        *it = std::move(def);
    else
        rows_.push_back(std::move(def));
}

const SectionDef* SectionTable::Find(int code) const {
    for (const auto& r : rows_)
        if (r.code == code) return &r;
    return nullptr;
}

const SectionDef* SectionTable::FindKey(std::string_view key) const {
    if (key.empty()) return nullptr;
    for (const auto& r : rows_)
        if (r.toolbarKey == key) return &r;
    return nullptr;
}

int16_t SectionCodeOfKey(const SectionTable& table, std::string_view key) {
    if (key == "chiude") return kCloseCommand;
    const SectionDef* def = table.FindKey(key);
    return def ? def->code : 0;
}

}  // namespace cfg
