// What the editor tests share: a session with a file set on disk, reading
// the file back, and scripting the work form (select a line, press OK or
// Cancel).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSession.h"
#include "config/Layout.h"
#include "link/Screen.h"

namespace cfg::test {


class EditorTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;
    std::vector<uint8_t> original;
    // What the user does on the editing screen, one step per wait.
    std::deque<std::function<void()>> clicks;

    EditorTest() {
        ClearScreenLines(s);
        s.texts.LanguageTexts[1243] = "[";
        t.ui.onProcessEvents = [this] {
            // A click comes only while the editing screen waits for one, not
            // while a block is being read or written.
            bool waiting = t.ui.editScreenShown && !s.events.UserEvent && !s.events.ExitRequested;
            if (waiting && !clicks.empty()) {
                auto click = std::move(clicks.front());
                clicks.pop_front();
                click();
            }
            // A test that forgets to press Cancel ends instead of hanging.
            if (t.ui.processEventsCalls > 10000) s.events.ExitRequested = true;
        };
    }

    std::string MainFile() const { return t.folder.File("PLANT.CY2"); }

    // A .CY2 of the right size whose byte n is n % 200, then `cells` on top;
    // the set is opened as the configuration (source 1).
    void OpenFileSet(const std::vector<std::pair<int, uint8_t>>& cells = {}) {
        original.assign(kMainFileSize, 0);
        for (int i = 0; i < kMainFileSize; ++i) original[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i % 200);
        for (auto [cell, value] : cells) original[static_cast<std::size_t>(cell)] = value;
        std::ofstream(MainFile(), std::ios::binary)
            .write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
        s.config.ConfigSource = ConfigSource::File;
        s.config.ConfigFileName = t.folder.File("PLANT");
    }

    std::vector<uint8_t> ReadMainFile() const {
        std::ifstream in(MainFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Offsets where the file now differs from what OpenFileSet wrote.
    std::vector<int> ChangedOffsets() const {
        std::vector<int> changed;
        auto now = ReadMainFile();
        for (std::size_t i = 0; i < now.size() && i < original.size(); ++i)
            if (now[i] != original[i]) changed.push_back(static_cast<int>(i));
        return changed;
    }

    // The index of the list line whose text starts with `label` after blanks.
    int LineOf(const std::string& label) const {
        for (int i = 1; i <= s.screen.LineCount; ++i) {
            const std::string& l = s.screen.Lines[i];
            auto first = l.find_first_not_of(' ');
            if (first != std::string::npos && l.compare(first, label.size(), label) == 0) return i;
        }
        return 0;
    }

    // Columns first..last of the line labelled `label`, without trailing
    // blanks.
    std::string FieldOf(const std::string& label, int first, int last = kScreenWidth) const {
        int line = LineOf(label);
        EXPECT_GT(line, 0) << label;
        if (line == 0) return {};
        std::string field = s.screen.Lines[line].substr(static_cast<std::size_t>(first - 1),
                                                        static_cast<std::size_t>(last - first + 1));
        while (!field.empty() && field.back() == ' ') field.pop_back();
        return field;
    }

    // Work form: select screen line `line` and press OK; then Cancel.
    void QueueEdit(int line) {
        clicks.push_back([this, line] {
            t.ui.listSelected = line - 1;
            s.events.UserEvent = true;
        });
    }
    // The same for the line labelled `label`, looked up when the click comes.
    void QueueEditOf(const std::string& label) {
        clicks.push_back([this, label] {
            t.ui.listSelected = LineOf(label) - 1;
            s.events.UserEvent = true;
        });
    }
    void QueueCancel() {
        clicks.push_back([this] { s.events.ExitRequested = true; });
    }
};

}  // namespace cfg::test
