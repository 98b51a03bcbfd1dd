// Serial numbering: the proposal, the checks of an entry, and the writes to
// the panel (the in-process simulator), with the counter file rewritten only
// after both writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "DiskFull.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "production/SerialNumber.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

TEST(SerialProposalTest, NextNumberKeepsThePrefixAndWrapsTheCounter) {
    EXPECT_EQ(ProposeSerialNumber("VS24000041"), "VS24000042");
    EXPECT_EQ(ProposeSerialNumber("VS24009999"), "VS24000000");
    EXPECT_EQ(ProposeSerialNumber("AB1234x0x9"), "AB12340001");  // no counter to read: starts again
    EXPECT_EQ(ProposeSerialNumber("VS24  41"), "VS24  0042");    // blanks before the digits are passed over
    EXPECT_EQ(ProposeSerialNumber(""), "0001");
    EXPECT_EQ(PadSerialNumber(" 123 "), "0000000123");
    EXPECT_EQ(PadSerialNumber("XYVS24000077"), "VS24000077");
    DateTime d;
    d.day = 4;
    d.month = 3;
    d.year = 2024;
    EXPECT_EQ(ProductionDateText(d), "04/03/24");
}

TEST(SerialProposalTest, EntryChecksNameTheOffendingField) {
    EXPECT_EQ(CheckSerialEntry("VS24000042", "04/03/24"), -1);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "04\\03\\24"), -1);
    EXPECT_EQ(CheckSerialEntry("VS2400004X", "04/03/24"), kSerialNumberField);
    EXPECT_EQ(CheckSerialEntry("VS2400 042", "04/03/24"), kSerialNumberField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "04-03-24"), kSerialDateField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "4/3/24"), kSerialDateField);
    // Only a day of the calendar, and the whole number or nothing.
    EXPECT_EQ(CheckSerialEntry("VS24000042", "31/02/26"), kSerialDateField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "99/99/99"), kSerialDateField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "29/02/26"), kSerialDateField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "0a/03/24"), kSerialDateField);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "29/02/28"), -1);
    EXPECT_EQ(CheckSerialEntry("VS24000042", "31/12/99"), -1);
    EXPECT_EQ(CheckSerialEntry("XYVS24000077", "04/03/24"), kSerialNumberField);
    EXPECT_EQ(CheckSerialEntry(" 123 ", "04/03/24"), -1);
    // A prefix is free text: only the counter must be digits.
    EXPECT_EQ(CheckSerialEntry("A-B C/0042", "04/03/24"), -1);
}

class SerialPanelTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();

    SerialPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
        t.clock.SetDate(2026, 11, 9, 1);
        for (long a = kSerialNumberAddress; a <= kProductionDateAddress + kProductionDateLength; ++a) mem.Set(a, 0xEE);
    }
    std::string Counter() const { return ReadText(CounterFilePath(s)); }
    void WriteCounter(const std::string& text) { std::ofstream(CounterFilePath(s), std::ios::binary) << text; }
    std::string PanelText(long address, int count) const {
        std::string out;
        for (int i = 0; i < count; ++i) out.push_back(static_cast<char>(mem.Get(static_cast<std::size_t>(address + i))));
        return out;
    }
    void Fault(const std::string& text) {
        vimo::sim::Fault f;
        std::string error;
        ASSERT_TRUE(vimo::sim::ParseFault(text, f, error)) << error;
        port.Panel().AddFault(f);
    }
    OpResult Run() { return NumberPanel(s); }
};

TEST_F(SerialPanelTest, OfferedOnlyWithThePanelAndTheCounterFile) {
    int16_t option = 0;
    EXPECT_FALSE(SerialNumberGuard(s, option));
    WriteCounter("VS24000041\r\n01/02/24\r\n");
    EXPECT_TRUE(SerialNumberGuard(s, option));
    s.config.ConfigSource = ConfigSource::File;
    EXPECT_FALSE(SerialNumberGuard(s, option));
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_FALSE(s.link.QuietErrors);
}

TEST_F(SerialPanelTest, TheNumberAndDateAreWrittenByteExactThenTheCounter) {
    WriteCounter("VS24000041\r\n01/02/24\r\n");
    t.ui.serialAnswers.push_back([](SerialNumberFields& f, int focus) {
        EXPECT_EQ(focus, -1);
        EXPECT_EQ(f.lastNumber, "VS24000041");
        EXPECT_EQ(f.lastDate, "01/02/24");
        EXPECT_EQ(f.newNumber, "VS24000042");
        EXPECT_EQ(f.newDate, "09/11/26");
        f.newNumber = "12x";  // rejected: the number's counter is not digits
        return true;
    });
    t.ui.serialAnswers.push_back([](SerialNumberFields& f, int focus) {
        EXPECT_EQ(focus, kSerialNumberField);
        f.newNumber = "123";
        f.newDate = "09-11-26";  // rejected: separators
        return true;
    });
    t.ui.serialAnswers.push_back([](SerialNumberFields& f, int focus) {
        EXPECT_EQ(focus, kSerialDateField);
        f.newDate = "09\\11\\26";
        return true;
    });
    EXPECT_TRUE(Run().Done());
    EXPECT_TRUE(t.ui.serialAnswers.empty());
    EXPECT_EQ(PanelText(kSerialNumberAddress, 10), "0000000123");
    EXPECT_EQ(PanelText(kProductionDateAddress, 8), "09\\11\\26");
    EXPECT_EQ(mem.Get(kProductionDateAddress + 8), 0xEE);  // nothing beyond the date
    EXPECT_EQ(Counter(), "0000000123\r\n09\\11\\26\r\n");
    EXPECT_EQ(t.ui.beeps, 2);
}

TEST_F(SerialPanelTest, ACounterFileThatCannotBeWrittenLeavesThePanelUnnumbered) {
    const std::string before = "VS24000041\r\n01/02/24\r\n";
    WriteCounter(before);
    t.ui.serialAnswers.push_back([](SerialNumberFields&, int) { return true; });
    {
        DiskFull full(8);  // the 22 bytes of the new counter do not fit
        if (!full.Available()) GTEST_SKIP() << "no file size limit on this system";
        EXPECT_EQ(Run().status, status::kRefused);
    }
    EXPECT_EQ(mem.Get(kSerialNumberAddress), 0xEE);
    EXPECT_EQ(mem.Get(kProductionDateAddress), 0xEE);
    EXPECT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(Counter(), before);
    EXPECT_FALSE(fs::exists(CounterFilePath(s) + ".check"));  // the trial file is gone
}

TEST_F(SerialPanelTest, AFailedWriteLeavesTheCounterFileAsItWas) {
    const std::string before = "VS24000041\r\n01/02/24\r\n";
    WriteCounter(before);
    auto accept = [](SerialNumberFields&, int) { return true; };

    Fault("write-refused=130,times=1,cmd=J");  // the number
    t.ui.serialAnswers.push_back(accept);
    EXPECT_EQ(Run().status, status::kRefused);
    EXPECT_EQ(Counter(), before);
    EXPECT_EQ(mem.Get(kProductionDateAddress), 0xEE);
    EXPECT_FALSE(t.ui.messages.empty());

    port.Panel().ClearFaults();
    Fault("write-refused=130,times=1,after=1,cmd=J");  // the date
    t.ui.serialAnswers.push_back(accept);
    EXPECT_EQ(Run().status, status::kRefused);
    EXPECT_EQ(PanelText(kSerialNumberAddress, 10), "VS24000042");
    EXPECT_EQ(mem.Get(kProductionDateAddress), 0xEE);
    EXPECT_EQ(Counter(), before);

    // Cancelling writes nothing at all.
    port.Panel().ClearFaults();
    mem.Set(kSerialNumberAddress, 0xEE);
    EXPECT_EQ(Run().status, status::kAborted);
    EXPECT_EQ(mem.Get(kSerialNumberAddress), 0xEE);
    EXPECT_EQ(Counter(), before);
}

}  // namespace
}  // namespace cfg::test
