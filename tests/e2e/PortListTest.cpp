// What the port menu shows of a serial adapter: enough to tell three
// adapters of the same kind apart.
#include <gtest/gtest.h>

#include "platform/SerialTransport.h"

namespace {

using cfg::DescribePort;
using cfg::SerialPortEntry;

TEST(PortListTest, AdaptersOfOneKindDifferBySerialNumber) {
    const SerialPortEntry a{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3XYZ"};
    const SerialPortEntry b{"ttyUSB1", "/dev/ttyUSB1", "FT232R USB UART", "FTDI", "A10K4QRS"};
    EXPECT_EQ(DescribePort(a, "serial no."), "FT232R USB UART, FTDI, serial no. A10K3XYZ");
    EXPECT_NE(DescribePort(a, "serial no."), DescribePort(b, "serial no."));
}

TEST(PortListTest, SaysEachThingOnceAndNothingForAPlainPort) {
    // Some drivers repeat the maker in the description.
    const SerialPortEntry c{"ttyACM0", "/dev/ttyACM0", "Prolific USB-Serial", "Prolific", ""};
    EXPECT_EQ(DescribePort(c, "serial no."), "Prolific USB-Serial");
    const SerialPortEntry d{"ttyUSB2", "/dev/ttyUSB2", "", "", "0042"};
    EXPECT_EQ(DescribePort(d, ""), "0042");
    EXPECT_EQ(DescribePort({"ttyS0", "/dev/ttyS0", "", "", ""}, "serial no."), "");
}

}  // namespace
