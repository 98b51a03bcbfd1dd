#include "TestSession.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "shell/Language.h"

namespace cfg::test {

TempFolder::TempFolder() {
    // A fresh folder under a random name; creating it is the test that
    // nobody else has it (create_directory is false for an existing one).
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "cfgtest-%012llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        std::error_code ec;
        if (std::filesystem::create_directory(base / name, ec)) {
            path_ = (base / name).string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::File(const std::string& name) const {
    return (std::filesystem::path(path_) / name).string();
}

void WriteIdLanguageFile(const std::string& folder, const std::string& name) {
    std::ofstream out(std::filesystem::path(folder) / (name + ".lng"), std::ios::binary);
    out << "[Strings]\n";
    char buf[32];
    for (int i = 1; i <= 2000; ++i) {
        std::snprintf(buf, sizeof buf, "%04d=%04d\n", i, i);
        out << buf;
    }
}

TestSession::TestSession() : s(ui, clock) {
    s.settings.ProgramFolder = folder.Path();
    WriteIdLanguageFile(folder.Path());
    s.settings.CurrentLanguage = "Test";
    LoadLanguageFile(s, LanguageFilePath(s, "Test"));
    // A send takes no backup of the panel first unless a test asks for it:
    // the question before the first send would take a scripted answer.
    s.settings.backups.beforeSend = false;
}

}  // namespace cfg::test
