// A Session on a scripted Ui and a fake clock, in a fresh temporary program
// folder that holds a language file whose every text is its own id. Sends
// take no backup of the panel first (s.settings.backups.beforeSend is false).
#pragma once

#include <memory>
#include <string>

#include "FakeClock.h"
#include "ScriptedUi.h"
#include "shell/Session.h"

namespace cfg::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// Writes "Test.lng": [Strings] with ids 1..2000, each text its 4-digit id.
void WriteIdLanguageFile(const std::string& folder, const std::string& name = "Test");

struct TestSession {
    TestSession();
    TempFolder folder;
    ScriptedUi ui;
    FakeClock clock;
    Session s;
};

}  // namespace cfg::test
