// Where the program reads its data and keeps the user's files: beside the
// program when it runs from a folder of its own, in the user's folders when
// it is installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSession.h"
#include "shell/Folders.h"
#include "shell/Language.h"
#include "shell/Settings.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

// A tree laid out like an installed program: ROOT/usr/bin and
// ROOT/usr/share/cfg-veltrano holding the language files.
struct InstalledTree {
    TempFolder root;
    std::string bin = root.File("usr/bin");
    std::string share = root.File("usr/share/cfg-veltrano");
    InstalledTree() {
        fs::create_directories(bin);
        fs::create_directories(share);
        WriteIdLanguageFile(share, "English");
    }
};

// A path as the routine gives it back (with the system's separators).
std::string N(const std::string& p) { return fs::path(p).lexically_normal().string(); }

FolderEnvironment Home(const std::string& home) {
    FolderEnvironment env;
    env.home = home;
    return env;
}

TEST(FoldersTest, AProgramWithItsDataBesideItKeepsEverythingThere) {
    TempFolder f;
    WriteIdLanguageFile(f.Path());
    ProgramFolders got = LocateFolders(f.Path() + "/", "", true, Home("/home/u"));
    EXPECT_EQ(got.program, N(f.Path()));
    EXPECT_EQ(got.data, N(f.Path()));
    EXPECT_EQ(got.settings, N(f.Path()));
    EXPECT_EQ(got.files, N(f.Path()));
    EXPECT_FALSE(got.userFolders);
}

TEST(FoldersTest, AnInstalledProgramReadsShareAndWritesToTheXdgFolders) {
    InstalledTree t;
    // Even a writable bin folder (root, or a dpkg -x tree) counts as installed
    // once the data comes from share.
    ProgramFolders got = LocateFolders(t.bin, "", true, Home("/home/u"));
    EXPECT_EQ(got.data, N(t.share));
    EXPECT_EQ(got.settings, N("/home/u/.config/cfg-veltrano"));
    EXPECT_EQ(got.files, N("/home/u/.local/share/cfg-veltrano"));
    EXPECT_TRUE(got.userFolders);

    FolderEnvironment env = Home("/home/u");
#ifndef _WIN32  // "/cfg" is not an absolute path on Windows
    env.xdgConfigHome = "/cfg";
    env.xdgDataHome = "/data/";
    got = LocateFolders(t.bin, "", true, env);
    EXPECT_EQ(got.settings, N("/cfg/cfg-veltrano"));
    EXPECT_EQ(got.files, N("/data/cfg-veltrano"));
#endif

    // Relative XDG values are not valid and fall back to HOME.
    env.xdgConfigHome = "relative/cfg";
    env.xdgDataHome = "";
    got = LocateFolders(t.bin, "", true, env);
    EXPECT_EQ(got.settings, N("/home/u/.config/cfg-veltrano"));
    EXPECT_EQ(got.files, N("/home/u/.local/share/cfg-veltrano"));
}

TEST(FoldersTest, AFolderThatTakesNoFilesSendsTheUserFilesHome) {
    TempFolder f;
    WriteIdLanguageFile(f.Path());
    ProgramFolders got = LocateFolders(f.Path(), "", false, Home("/home/u"));
    EXPECT_EQ(got.data, N(f.Path()));
    EXPECT_EQ(got.settings, N("/home/u/.config/cfg-veltrano"));
    EXPECT_TRUE(got.userFolders);

    // Without HOME (Windows, Program Files): the roaming application data.
    FolderEnvironment win;
    win.appData = "C:/Users/u/AppData/Roaming";
    got = LocateFolders(f.Path(), "", false, win);
    EXPECT_EQ(got.settings, N("C:/Users/u/AppData/Roaming/cfg-veltrano"));
    EXPECT_EQ(got.files, got.settings);

    // With nowhere else to go the program folder stays in use.
    got = LocateFolders(f.Path(), "", false, FolderEnvironment{});
    EXPECT_EQ(got.settings, N(f.Path()));
    EXPECT_FALSE(got.userFolders);
}

TEST(FoldersTest, AChosenFolderHoldsTheUserFilesAndItsOwnLanguagesWin) {
    InstalledTree t;
    TempFolder chosen;
    ProgramFolders got = LocateFolders(t.bin, chosen.Path(), true, Home("/home/u"));
    EXPECT_EQ(got.data, N(t.share));  // no language files of its own
    EXPECT_EQ(got.settings, N(chosen.Path()));
    EXPECT_EQ(got.files, N(chosen.Path()));
    EXPECT_FALSE(got.userFolders);

    WriteIdLanguageFile(chosen.Path(), "Italiano");
    EXPECT_EQ(LocateFolders(t.bin, chosen.Path(), true, Home("/home/u")).data, N(chosen.Path()));
}

TEST(FoldersTest, TheSessionReadsLanguagesFromTheDataFolderAndWritesSettingsToItsOwn) {
    TestSession t;  // its program folder holds Test.lng
    InstalledTree tree;
    TempFolder user;
    ProgramFolders f = LocateFolders(tree.bin, "", true, Home(user.Path()));
    ASSERT_TRUE(MakeFolders(f.settings));
    t.s.settings.ProgramFolder = tree.bin;
    ApplyFolders(t.s.settings, f);

    EXPECT_EQ(ListLanguages(t.s), std::vector<std::string>{"English"});
    EXPECT_EQ(N(LanguageFilePath(t.s, "English")), N(tree.share + "/English.lng"));
    t.s.settings.CommPortName = "/dev/ttyUSB3";
    SaveSettings(t.s);
    EXPECT_EQ(N(SettingsFilePath(t.s)), N(user.File(".config/cfg-veltrano/CFG-Veltrano.ini")));
    EXPECT_EQ(GetProfileString(SettingsFilePath(t.s), "startup", "Serial", ""), "/dev/ttyUSB3");
    EXPECT_FALSE(fs::exists(tree.bin + "/CFG-Veltrano.ini"));
}

TEST(FoldersTest, AWriteProbeLeavesNothingBehind) {
    TempFolder f;
    EXPECT_TRUE(FolderAcceptsFiles(f.Path()));
    EXPECT_TRUE(fs::is_empty(f.Path()));
    EXPECT_FALSE(FolderAcceptsFiles(f.File("missing")));
}

}  // namespace
}  // namespace cfg::test
