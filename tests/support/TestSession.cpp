#include "TestSession.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/Language.h"

namespace cfg::test {

TempFolder::TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "cfgtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
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
    s.ProgramFolder = folder.Path();
    WriteIdLanguageFile(folder.Path());
    s.CurrentLanguage = "Test";
    LoadLanguageFile(s, LanguageFilePath(s, "Test"));
}

}  // namespace cfg::test
