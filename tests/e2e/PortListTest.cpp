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

// Windows: the serial number a USB adapter reports comes out of the
// device's instance path; one that Windows made up is no serial number.
TEST(PortListTest, SerialNumberFromTheWindowsInstancePath) {
    EXPECT_EQ(cfg::SerialNumberOfInstance("USB\\VID_0403&PID_6001\\A10K3XYZ"), "A10K3XYZ");
    EXPECT_EQ(cfg::SerialNumberOfInstance("FTDIBUS\\VID_0403+PID_6001+A10K3XYZA\\0000"), "A10K3XYZA");
    EXPECT_EQ(cfg::SerialNumberOfInstance("usb\\vid_067b&pid_2303\\0042"), "0042");
    EXPECT_EQ(cfg::SerialNumberOfInstance("USB\\VID_067B&PID_2303\\5&1A2B3C4&0&2"), "");
    EXPECT_EQ(cfg::SerialNumberOfInstance("ACPI\\PNP0501\\1"), "");
    EXPECT_EQ(cfg::SerialNumberOfInstance("FTDIBUS\\VID_0403\\0000"), "");
    EXPECT_EQ(cfg::SerialNumberOfInstance("USB\\VID_0403&PID_6001"), "");
    EXPECT_EQ(cfg::SerialNumberOfInstance(""), "");
}

TEST(PortListTest, FriendlyNameLosesThePortWindowsAppends) {
    EXPECT_EQ(cfg::FriendlyNameWithoutPort("USB Serial Port (COM3)", "COM3"), "USB Serial Port");
    EXPECT_EQ(cfg::FriendlyNameWithoutPort("USB Serial Port (COM3)", "COM13"), "USB Serial Port (COM3)");
    EXPECT_EQ(cfg::FriendlyNameWithoutPort("(COM3)", "COM3"), "(COM3)");
    EXPECT_EQ(cfg::FriendlyNameWithoutPort("Communications Port", "COM1"), "Communications Port");
}

#ifdef _WIN32
// Every port the system lists has a name the settings can hold and the
// device path that opens it.
TEST(PortListTest, WindowsListsComPortsByTheirDevicePath) {
    for (const SerialPortEntry& p : cfg::ListSerialPorts()) {
        EXPECT_EQ(p.name.rfind("COM", 0), 0u) << p.name;
        EXPECT_EQ(p.location, "\\\\.\\" + p.name);
    }
}
#endif

}  // namespace
