// The display texts: the list, the message dialog and its range entry, the
// CSV export and import, on a file set and on the in-process panel.
#include <filesystem>

#include "EditorFixture.h"
#include "editors/DisplayEditor.h"
#include "editors/DisplayTexts.h"
#include "editors/DisplayTextsCsv.h"
#include "shell/Text.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

constexpr int kTextsFileSize = 7280;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

MessageAnswer Text(const std::string& text) {
    MessageAnswer a;
    a.confirmed = true;
    a.text = text;
    return a;
}
MessageAnswer Range(const std::string& first, const std::string& last, const std::string& text, bool countUp = true) {
    MessageAnswer a = Text(text);
    a.range = true;
    a.first = first;
    a.last = last;
    a.countUp = countUp;
    return a;
}

TEST(RangeEntryText, CountsUpATrailingNumber) {
    EXPECT_EQ(RangeEntryText("ROOM 1", 0, true), "ROOM 1");
    EXPECT_EQ(RangeEntryText("ROOM 1", 1, true), "ROOM 2");
    EXPECT_EQ(RangeEntryText("ROOM 1   ", 2, true), "ROOM 3");  // blanks after the number
    EXPECT_EQ(RangeEntryText("LINE 9", 1, true), "LINE 10");
    EXPECT_EQ(RangeEntryText("LINE 08", 2, true), "LINE 10");     // width of the zeros kept
    EXPECT_EQ(RangeEntryText("LINE 007", 5, true), "LINE 012");
    EXPECT_EQ(RangeEntryText("12", 3, true), "15");
    // The number never loses digits: the words before it give way.
    EXPECT_EQ(RangeEntryText("CORRIDOIO PIANO9", 1, true), "CORRIDOIO PIAN10");
    EXPECT_LE(RangeEntryText("A99999999999999999", 1, true).size(), 16u);  // absurd input stays an entry
    // No number, or counting off: the same text everywhere.
    EXPECT_EQ(RangeEntryText("ATRIO", 4, true), "ATRIO");
    EXPECT_EQ(RangeEntryText("ROOM 1", 4, false), "ROOM 1");
    EXPECT_EQ(RangeEntryText("STANZA \xC3\xA0 1", 1, true), "STANZA \xC3\xA0 2");  // accents stay whole
    // A long number keeps every digit, and carries across all of them.
    EXPECT_EQ(RangeEntryText("TEL 3331234567", 1, true), "TEL 3331234568");
    EXPECT_EQ(RangeEntryText("TEL 3339999999", 2, true), "TEL 3340000001");
    EXPECT_EQ(RangeEntryText("N 09999999999", 1, true), "N 10000000000");
}

TEST(DisplayTextBytes, BlankFillsCutsAndRefusesWhatTheDisplayCannotShow) {
    std::vector<Cell> bytes;
    std::string bad;
    ASSERT_TRUE(DisplayTextBytes("AB", bytes, bad));
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes[1], 'B');
    EXPECT_EQ(bytes[2], ' ');
    ASSERT_TRUE(DisplayTextBytes("0123456789ABCDEFGHIJ", bytes, bad));
    EXPECT_EQ(bytes[15], 'F');
    ASSERT_TRUE(DisplayTextBytes("CAFF\xC3\xA8", bytes, bad));  // Latin-1 letters are shown
    EXPECT_EQ(bytes[4], 0xE8);
    EXPECT_FALSE(DisplayTextBytes("PRICE \xE2\x82\xAC", bytes, bad));  // the euro sign is not Latin-1
    EXPECT_EQ(bad, "\xE2\x82\xAC");
    EXPECT_FALSE(DisplayTextBytes("A\tB", bytes, bad));
    EXPECT_EQ(bytes[4], 0xE8);  // unchanged after a refusal
}

class DisplayTest : public EditorTest {
protected:
    std::string texts;  // the .MY2 as written

    std::string TextsFile() const { return t.folder.File("PLANT.MY2"); }
    // A file set whose entries read "T<offset>" blank-filled.
    void OpenTexts() {
        OpenFileSet();
        texts.assign(kTextsFileSize, ' ');
        for (int offset = 0; offset + 16 <= kTextsFileSize; offset += 16) {
            std::string label = "T" + std::to_string(offset);
            texts.replace(static_cast<std::size_t>(offset), label.size(), label);
        }
        WriteFile(TextsFile(), texts);
    }
    // Offsets of the .MY2 that differ from what OpenTexts wrote.
    std::vector<int> ChangedTextOffsets() const {
        std::vector<int> changed;
        std::string now = ReadFile(TextsFile());
        for (std::size_t i = 0; i < now.size() && i < texts.size(); ++i)
            if (now[i] != texts[i]) changed.push_back(static_cast<int>(i));
        return changed;
    }
    std::string EntryInFile(int offset) const { return ReadFile(TextsFile()).substr(static_cast<std::size_t>(offset), 16); }
    void Run() {
        const PrintMode print = PrintMode::Interactive;
        DisplaySection(s, print);
    }
    // Line of entry n of group g.
    int LineOfEntry(int g, int n) const {
        for (int line = 1; line <= s.screen.LineCount; ++line)
            if (DescriptorOf(s.screen, line).field == g && DescriptorOf(s.screen, line).value2 == n) return line;
        return 0;
    }
    void QueueEntry(int g, int n, const MessageAnswer& answer) {
        clicks.push_back([this, g, n, answer] {
            t.ui.listSelected = LineOfEntry(g, n) - 1;
            t.ui.messageInputAnswers.push_back(answer);
            s.events.UserEvent = true;
        });
    }
};

TEST_F(DisplayTest, TheListHoldsFourGroupsOf458Lines) {
    OpenTexts();
    texts[16 * 6 + 2] = '\0';  // group 1 entry 7, third character
    WriteFile(TextsFile(), texts);
    const PrintMode print = PrintMode::LinesOnly;
    DisplaySection(s, print);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 458u);
    EXPECT_EQ(lines[0], "0861");
    EXPECT_EQ(lines[1], "0862  1 -->    \"T0              \"");
    EXPECT_EQ(lines[7], "0862  7 -->    \"T9?             \"");  // byte 0 shows as '?'
    EXPECT_EQ(lines[401], "0863");
    EXPECT_EQ(lines[402], "0864  1 -->    \"T6400           \"");
    EXPECT_EQ(lines[434], "0865");
    EXPECT_EQ(lines[435], "0866   1 -->    \"T6912           \"");  // a blank after the label
    EXPECT_EQ(lines[451], "0867");
    EXPECT_EQ(lines[457], "0868   6 -->    \"T7248           \"");
    int groupFour = 0;
    for (int line = 1; line <= s.screen.LineCount; ++line)
        if (DescriptorOf(s.screen, line).field == 4) ++groupFour;
    EXPECT_EQ(groupFour, 6);
    LineDescriptor last = DescriptorOf(s.screen, 401);  // entry 400 of group 1
    EXPECT_EQ(last.field, 1);
    EXPECT_EQ(last.value2, 400);
    EXPECT_EQ(last.value3, 6384);
    EXPECT_EQ(DescriptorOf(s.screen, 1).field, 0);  // headings are not editable
    EXPECT_EQ(t.ui.editTitle, "");           // the printout only builds
}

TEST_F(DisplayTest, ATextIsBlankFilledOrCutAndWrittenAtOnce) {
    OpenTexts();
    texts[16 * 6 + 2] = '\0';
    WriteFile(TextsFile(), texts);
    QueueEntry(1, 7, Text("HALL"));
    QueueEntry(2, 3, Text("CORRIDOIO PIANO TERRA"));
    QueueCancel();
    Run();

    EXPECT_EQ(t.ui.editTitle, "0531");
    ASSERT_EQ(t.ui.messageRequests.size(), 2u);
    const MessageRequest& r = t.ui.messageRequests[0];
    EXPECT_EQ(r.title, "0532  7");
    EXPECT_EQ(r.prompt, "0533");
    EXPECT_EQ(r.initialText, "T9");  // the byte 0 a blank, trailing blanks left out
    EXPECT_EQ(r.maxLength, 16);
    EXPECT_TRUE(r.allowRange);
    EXPECT_EQ(EntryInFile(96), "HALL            ");
    EXPECT_EQ(EntryInFile(6400 + 32), "CORRIDOIO PIANO ");
    for (int offset : ChangedTextOffsets())
        EXPECT_TRUE((offset >= 96 && offset < 112) || (offset >= 6432 && offset < 6448)) << offset;
    EXPECT_EQ(t.ui.listLines.at(7), "0862  7 -->    \"HALL            \"");
    EXPECT_EQ(t.ui.listSelected, LineOfEntry(2, 3) - 1);  // the edited line stays selected
    EXPECT_TRUE(s.config.DateStamped);
    EXPECT_EQ(ReadMainFile()[211], '0');  // stamped 05-12-26 in the .CY2
}

TEST_F(DisplayTest, GroupsThreeAndFourHaveOneTitleText) {
    OpenTexts();
    QueueEntry(4, 6, MessageAnswer{});
    QueueCancel();
    Run();
    ASSERT_EQ(t.ui.messageRequests.size(), 1u);
    EXPECT_EQ(t.ui.messageRequests[0].title, "0537  6");
    EXPECT_EQ(t.ui.messageRequests[0].prompt, "0537  6");
    EXPECT_TRUE(ChangedTextOffsets().empty());  // cancelled
}

TEST_F(DisplayTest, ARangeGetsCountedTextsInOneBlock) {
    OpenTexts();
    QueueEntry(1, 5, Range("3", "9", "ROOM 1"));
    QueueEntry(3, 1, Range("2", "4", "EXIT", true));
    QueueCancel();
    Run();
    for (int n = 3; n <= 9; ++n) EXPECT_EQ(EntryInFile((n - 1) * 16), Utf8PadRight("ROOM " + std::to_string(n - 2), 16));
    for (int n = 2; n <= 4; ++n) EXPECT_EQ(EntryInFile(6912 + (n - 1) * 16), "EXIT            ");
    EXPECT_EQ(ChangedTextOffsets().front(), 32);
    EXPECT_EQ(EntryInFile(6912), texts.substr(6912, 16));  // entry 1 of group 3 untouched
}

TEST_F(DisplayTest, ARangeOutsideItsGroupIsRefused) {
    OpenTexts();
    QueueEntry(4, 1, Range("5", "7", "X"));   // group 4 has 6 entries
    QueueEntry(2, 1, Range("9", "3", "X"));   // backwards
    QueueEntry(2, 1, Range("a", "3", "X"));
    QueueCancel();
    Run();
    EXPECT_TRUE(ChangedTextOffsets().empty());
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[0].text, "1779 6\r");
    EXPECT_EQ(t.ui.messages[1].text, "1779 32\r");
}

TEST_F(DisplayTest, ACharacterTheDisplayCannotShowWritesNothing) {
    OpenTexts();
    QueueEntry(1, 1, Text("EURO \xE2\x82\xAC"));
    QueueCancel();
    Run();
    EXPECT_TRUE(ChangedTextOffsets().empty());
    EXPECT_TRUE(t.ui.Showed("1765 \"\xE2\x82\xAC\"")) << t.ui.AllMessages();
}

// Bytes 127..159 are signs of the display: shown, and kept by an OK that
// changes nothing; only control codes below 32 read as blanks.
TEST_F(DisplayTest, TheDisplaysOwnSignsSurviveAnUnchangedEntry) {
    OpenTexts();
    texts.replace(0, 16, "A\x7F\x80\x9F" "B           ");
    WriteFile(TextsFile(), texts);
    // OK on the text as the dialog showed it.
    const std::string shown = "A\x7F\xC2\x80\xC2\x9F" "B";
    QueueEntry(1, 1, Text(shown));
    QueueCancel();
    Run();
    ASSERT_EQ(t.ui.messageRequests.size(), 1u);
    EXPECT_EQ(t.ui.messageRequests[0].initialText, shown);
    EXPECT_EQ(t.ui.listLines.at(1).find('?'), std::string::npos) << t.ui.listLines.at(1);
    EXPECT_EQ(EntryInFile(0), texts.substr(0, 16));
    std::vector<Cell> bytes;
    std::string bad;
    EXPECT_FALSE(DisplayTextBytes("A\x1F", bytes, bad));
}

TEST_F(DisplayTest, AFailedWriteKeepsTheOldText) {
    OpenTexts();
    clicks.push_back([this] { std::filesystem::remove(TextsFile()); });
    QueueEntry(1, 2, Text("NEW"));
    QueueCancel();
    Run();
    EXPECT_NE(s.link.LinkStatus, 255);
    EXPECT_EQ(t.ui.listLines.at(2), "0862  2 -->    \"T16             \"");
    EXPECT_EQ(s.config.ConfigImage[16], 'T');
}

TEST_F(DisplayTest, NothingOpenOrAMissingFileEndsAtOnce) {
    const PrintMode print = PrintMode::Interactive;
    DisplaySection(s, print);
    EXPECT_EQ(s.link.LinkStatus, 240);
    OpenFileSet();  // no .MY2
    DisplaySection(s, print);
    EXPECT_NE(s.link.LinkStatus, 255);
    EXPECT_EQ(t.ui.editTitle, "");
}

// --- CSV ---------------------------------------------------------------------

class DisplayCsvTest : public DisplayTest {
protected:
    std::string Csv() const { return t.folder.File("texts.csv"); }
    int Import(const std::string& content) {
        WriteFile(Csv(), content);
        t.ui.messages.clear();
        last = ImportDisplayTexts(s, Csv(), true);
        return last.entries;
    }
    TextsImport last;
};

TEST_F(DisplayCsvTest, ExportWritesEveryEntryForASpreadsheet) {
    OpenTexts();
    texts[16 * 6 + 2] = '\0';
    texts.replace(6400, 7, "SALA \"A");
    texts[6407] = static_cast<char>(0xE8);  // è
    WriteFile(TextsFile(), texts);
    ASSERT_TRUE(ExportDisplayTexts(s, Csv(), true).Done());
    std::string csv = ReadFile(Csv());
    EXPECT_EQ(csv.substr(0, 21), "\xEF\xBB\xBFgroup;entry;text\r\n");
    EXPECT_NE(csv.find("\r\n1;1;\"T0\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n1;7;\"T9\"\r\n"), std::string::npos);  // the byte 0 as a blank
    EXPECT_NE(csv.find("\r\n2;1;\"SALA \"\"A\xC3\xA8\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n4;6;\"T7248\"\r\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 455);  // header + 454 entries
    // The report names the entry whose byte the display cannot show.
    EXPECT_TRUE(t.ui.Showed("1773 454")) << t.ui.AllMessages();
    EXPECT_TRUE(t.ui.Showed("1774\r\n1780 1, 1781 7")) << t.ui.AllMessages();
}

TEST_F(DisplayCsvTest, ExportThenImportChangesNothing) {
    OpenTexts();
    texts[16 * 9] = '\x01';
    WriteFile(TextsFile(), texts);
    ASSERT_TRUE(ExportDisplayTexts(s, Csv(), true).Done());
    EXPECT_EQ(ImportDisplayTexts(s, Csv(), true).entries, 0);
    EXPECT_TRUE(ChangedTextOffsets().empty());
    EXPECT_TRUE(t.ui.Showed("1772"));
}

TEST_F(DisplayCsvTest, ASpreadsheetFileWritesOnlyTheChangedEntriesInRuns) {
    OpenTexts();
    // What a spreadsheet program saves: a BOM, ';', quotes where needed,
    // empty cells of a fourth column, an empty row, CRLF, and rows in any
    // order.
    std::string csv =
        "\xEF\xBB\xBF" "Gruppo;Voce;Testo;Note\r\n"
        "1;4;\"SALA; \"\"A\"\"\";\r\n"
        "1;3;ATRIO;\r\n"
        ";;;\r\n"
        "1;5;T64; \r\n"
        "1; 6 ; \"CUCINA\" \r\n"
        "4;6;\"ULTIMA\"\r\n"
        "2;1;\"caff\xC3\xA8\"\r\n";
    EXPECT_EQ(Import(csv), 5);
    EXPECT_EQ(EntryInFile(32), "ATRIO           ");
    EXPECT_EQ(EntryInFile(48), "SALA; \"A\"       ");
    EXPECT_EQ(EntryInFile(64), texts.substr(64, 16));
    EXPECT_EQ(EntryInFile(80), "CUCINA          ");
    EXPECT_EQ(EntryInFile(7248), "ULTIMA          ");
    EXPECT_EQ(static_cast<unsigned char>(EntryInFile(6400)[4]), 0xE8);
    // Entries 3-4, 6, group 2 entry 1 and group 4 entry 6: four blocks.
    EXPECT_TRUE(t.ui.Showed("1770 5\r\n1771 4")) << t.ui.AllMessages();
}

TEST_F(DisplayCsvTest, CommaSeparatedLatin1FilesAreReadToo) {
    OpenTexts();
    EXPECT_EQ(Import("1,1,PORTA \xE8\n1,2,\"A, B\"\n"), 2);
    EXPECT_EQ(static_cast<unsigned char>(EntryInFile(0)[6]), 0xE8);
    EXPECT_EQ(EntryInFile(16), "A, B            ");
}

TEST_F(DisplayCsvTest, AFaultAnywhereRefusesTheWholeFileNamingTheLine) {
    OpenTexts();
    struct Case {
        std::string csv;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"group;entry;text\n1;1;OK\n5;1;X\n", "1761 3: 1762"},
        {"1;1;OK\n4;7;X\n", "1761 2: 1763 6"},
        {"1;1;OK\n1;401;X\n", "1761 2: 1763 400"},
        {"1;1;OK\n2;0;X\n", "1761 2: 1763 32"},
        {"1;1;OK\n2;1;12345678901234567\n", "1761 2: 1764"},
        {"1;1;OK\n2;1;\"A\tB\"\n", "1761 2: 1765 \"\""},
        {"1;1;OK\n\n1;1;X\n", "1761 3: 1766 1"},
        {"1;1;OK\n1;2\n", "1761 2: 1767"},
        {"1;1;OK\n\"1;2;\"multi\nline\"\n3;1;\xE2\x82\xAC\n", "1761 2: 1767"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Import(c.csv), -1) << c.csv;
        ASSERT_EQ(t.ui.messages.size(), 1u) << c.csv;
        EXPECT_EQ(t.ui.messages[0].text, c.message + "\r1768") << c.csv;
        EXPECT_EQ(last.result.status, status::kRefused);
    }
    EXPECT_TRUE(ChangedTextOffsets().empty());
    // 16 characters, trailing blanks and accents counted as one are fine.
    EXPECT_EQ(Import("1;1;\"\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8" "ABCDEFGH   \"\n"), 1);
}

TEST_F(DisplayCsvTest, ATextCutAtItsSeparatorOrABrokenUtf8FileIsRefused) {
    OpenTexts();
    EXPECT_EQ(Import("1,1,OK\n1,2,SALA 1, PIANO 2\n"), -1);
    EXPECT_EQ(t.ui.messages.at(0).text, "1761 2: 1613\r1768");
    // Empty fields a spreadsheet adds at the end of a row are no text.
    EXPECT_EQ(Import("1;1;OK;;\n"), 1);
    // With its byte-order mark the file is UTF-8: a broken byte is named.
    EXPECT_EQ(Import("\xEF\xBB\xBF" "1;1;CAFF\xC3\xA8\n1;2;PORTA \xE8\n"), -1);
    EXPECT_EQ(t.ui.messages.at(0).text, "1761 2: 1614\r1768");
    EXPECT_EQ(EntryInFile(0), "OK              ");
}

TEST_F(DisplayCsvTest, FoldersDevicesHugeFilesAndAShortTextsFileAreRefused) {
    OpenTexts();
    fs::create_directories(t.folder.File("dir.csv"));
    EXPECT_EQ(ImportDisplayTexts(s, t.folder.File("dir.csv"), true).entries, -1);
    EXPECT_EQ(t.ui.messages.back().text, "1608\r" + t.folder.File("dir.csv"));
#if !defined(_WIN32)
    EXPECT_EQ(ImportDisplayTexts(s, "/dev/zero", true).entries, -1);  // would never end
    EXPECT_EQ(t.ui.messages.back().text, "1608\r/dev/zero");
#endif
    WriteFile(Csv(), std::string(1024 * 1024 + 1, '\n'));
    EXPECT_EQ(ImportDisplayTexts(s, Csv(), true).entries, -1);
    EXPECT_EQ(t.ui.messages.back().text, "1609\r" + Csv());

    WriteFile(TextsFile(), std::string(4800, ' '));
    EXPECT_EQ(Import("1;1;NEW\n"), -1);
    EXPECT_EQ(t.ui.messages.back().text, "1610\r" + s.config.ConfigFileName + ".MY2");
    EXPECT_EQ(ReadFile(TextsFile()).size(), 4800u);
    fs::remove(TextsFile());
    EXPECT_EQ(Import("1;1;NEW\n"), -1);
    EXPECT_FALSE(fs::exists(TextsFile()));
}

TEST_F(DisplayCsvTest, AnExportNeverReplacesAFileSilently) {
    OpenTexts();
    WriteFile(Csv(), "keep");
    t.ui.saveFileAnswers.push_back(Csv());
    t.ui.messageAnswers.push_back(MsgAnswer::No);
    clicks.push_back([this] { s.events.BulkTextCommand = BulkText::Export; });
    QueueCancel();
    Run();
    EXPECT_EQ(ReadFile(Csv()), "keep");
    EXPECT_TRUE(t.ui.Showed("1615 " + Csv() + "\r\n1616")) << t.ui.AllMessages();
}

TEST_F(DisplayCsvTest, TheSectionButtonsExportAndImport) {
    OpenTexts();
    t.ui.saveFileAnswers.push_back(Csv());
    clicks.push_back([this] { s.events.BulkTextCommand = BulkText::Export; });
    clicks.push_back([this] {
        EXPECT_TRUE(t.ui.bulkTextButtons);
        std::string csv = ReadFile(Csv());
        csv.replace(csv.find("\"T16\""), 5, "\"NEW\"");
        WriteFile(Csv(), csv);
        t.ui.openFileAnswers.push_back(Csv());
        s.events.BulkTextCommand = BulkText::Import;
    });
    QueueCancel();
    Run();
    EXPECT_FALSE(t.ui.bulkTextButtons);
    EXPECT_EQ(EntryInFile(16), "NEW             ");
    EXPECT_EQ(ChangedTextOffsets().size(), 3u);  // "T16" -> "NEW"
    EXPECT_EQ(t.ui.listLines.at(2), "0862  2 -->    \"NEW             \"");
    ASSERT_EQ(t.ui.fileRequests.size(), 2u);
    EXPECT_EQ(t.ui.fileRequests[0].title, "1775");
    EXPECT_EQ(t.ui.fileRequests[0].initialName, "PLANT.csv");
    EXPECT_TRUE(s.config.DateStamped);
}

// --- the panel -----------------------------------------------------------------

class DisplayPanelTest : public DisplayTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();
    std::vector<uint8_t> before;

    DisplayPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
        for (int a = 24576; a < 24576 + kTextsFileSize; ++a) mem.Set(static_cast<std::size_t>(a), 'x');
        before = mem.Read(0, vimo::sim::kMemorySize);
    }
    std::vector<int> ChangedAddresses() const {
        std::vector<int> changed;
        for (std::size_t a = 0; a < before.size(); ++a)
            if ((a < 7168 || a > 8767) && mem.Get(a) != before[a]) changed.push_back(static_cast<int>(a));
        return changed;
    }
    std::string PanelEntry(int address) const {
        std::string r;
        for (int i = 0; i < 16; ++i) r += static_cast<char>(mem.Get(static_cast<std::size_t>(address + i)));
        return r;
    }
};

TEST_F(DisplayPanelTest, Entry400IsWrittenAt30960) {
    QueueEntry(1, 400, Text("LAST POINT"));
    QueueCancel();
    Run();
    EXPECT_EQ(PanelEntry(30960), "LAST POINT      ");
    std::vector<int> changed = ChangedAddresses();
    ASSERT_FALSE(changed.empty());
    EXPECT_GE(changed.front(), 30960);
    EXPECT_LT(changed.back(), 30976);
    EXPECT_EQ(port.Panel().Stats().writes, 1);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

TEST_F(DisplayPanelTest, ARangeIsOneBlockNotOneWritePerEntry) {
    QueueEntry(2, 1, Range("1", "32", "ZONE 1"));
    QueueCancel();
    Run();
    EXPECT_EQ(PanelEntry(30976), "ZONE 1          ");
    EXPECT_EQ(PanelEntry(30976 + 31 * 16), "ZONE 32         ");
    // 32 entries = 512 bytes = eight frames of 64 bytes.
    EXPECT_EQ(port.Panel().Stats().writes, 8);
    std::vector<int> changed = ChangedAddresses();
    EXPECT_GE(changed.front(), 30976);
    EXPECT_LT(changed.back(), 31488);
}

TEST_F(DisplayPanelTest, AnImportThatFailsPartWayNamesTheEntriesWritten) {
    vimo::sim::Fault refused;
    std::string error;
    ASSERT_TRUE(vimo::sim::ParseFault("write-refused=129,after=1", refused, error)) << error;
    port.Panel().AddFault(refused);
    // Two runs: entries 1..2 of group 1 (one frame), then group 2 entry 1.
    WriteFile(t.folder.File("p.csv"), "1;1;ONE\n1;2;TWO\n2;1;THREE\n");
    const TextsImport stopped = ImportDisplayTexts(s, t.folder.File("p.csv"), true);
    EXPECT_EQ(stopped.entries, -1);
    EXPECT_EQ(stopped.result.status, status::kRefused);
    EXPECT_EQ(PanelEntry(24576), "ONE             ");
    EXPECT_TRUE(t.ui.Showed("1611 1/1, 1/2\r1780/1781")) << t.ui.AllMessages();
}

TEST_F(DisplayPanelTest, ImportingAnExportSendsNoWrite) {
    ASSERT_TRUE(ExportDisplayTexts(s, t.folder.File("p.csv"), true).Done());
    EXPECT_EQ(ImportDisplayTexts(s, t.folder.File("p.csv"), true).entries, 0);
    EXPECT_EQ(port.Panel().Stats().writes, 0);
    EXPECT_TRUE(ChangedAddresses().empty());
}

}  // namespace
}  // namespace cfg::test
