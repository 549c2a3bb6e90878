#include <gtest/gtest.h>

#include "device/DevicePort.h"
#include "storage/Ini.h"
#include "support/ScratchDir.h"

namespace {

TEST(DevicePort, IniValuesWithTheirDefaults) {
    ScratchDir dir(true);
    EXPECT_EQ(configuredPortName(), "COM1");  // no INI at all
    EXPECT_EQ(configuredBaudRate(), 9600);
    const std::pair<const char*, int> rates[] = {
        {"19200", 19200}, {"0", 9600}, {"-5", 9600}, {"fast", 9600}, {"", 9600}};
    for (const auto& [text, rate] : rates) {
        writeFileBytes(IniFileName, std::string("[COMMUNICATION]\nPort=\nBaudrate=") + text + "\n");
        EXPECT_EQ(configuredBaudRate(), rate) << text;
        EXPECT_EQ(configuredPortName(), "COM1") << "an empty Port counts as missing";
    }
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM12\n");
    EXPECT_EQ(configuredPortName(), "COM12");
}

}  // namespace
