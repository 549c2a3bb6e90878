#include <gtest/gtest.h>

#include "storage/PlotOptions.h"
#include "storage/ProgramOptions.h"
#include "support/ScratchDir.h"

namespace {

TEST(ProgramOptions, VerifyAfterSendIsOnUnlessSwitchedOffInASectionOfItsOwn) {
    ScratchDir dir(true);
    EXPECT_TRUE(verifyAfterSend()) << "no file";
    const std::pair<const char*, bool> stored[] = {{"1", true}, {"0", false},   {" 0", false},
                                                   {"2", true}, {"nein", true}, {"", true}};
    for (const auto& [value, on] : stored) {
        writeFileBytes("FILTARO.INI", std::string("[filtaro]\nverifyaftersend=") + value + "\n");
        EXPECT_EQ(verifyAfterSend(), on) << '"' << value << '"';
    }

    const std::string communication = "[COMMUNICATION]\r\nPort=COM3\r\nBaudrate=19200\r\n";
    writeFileBytes("FILTARO.INI", communication);
    ASSERT_TRUE(setVerifyAfterSend(false));
    EXPECT_FALSE(verifyAfterSend());
    ASSERT_TRUE(setVerifyAfterSend(true));
    EXPECT_TRUE(verifyAfterSend());
    const std::string ini = readFileBytes("FILTARO.INI");
    EXPECT_EQ(ini.rfind(communication, 0), 0u) << ini;
    EXPECT_NE(ini.find("[FILTARO]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("VerifyAfterSend=1"), std::string::npos) << ini;
}

TEST(ProgramOptions, PlotViewInASectionOfItsOwn) {
    ScratchDir dir(true);
    EXPECT_EQ(plotViewName(), "") << "no file";
    const std::string communication = "[COMMUNICATION]\r\nPort=COM3\r\nBaudrate=19200\r\n";
    writeFileBytes("FILTARO.INI", communication);
    ASSERT_TRUE(setPlotViewName("groupdelay"));
    EXPECT_EQ(plotViewName(), "groupdelay");
    ASSERT_TRUE(setPlotViewName("phase"));
    EXPECT_EQ(plotViewName(), "phase");
    const std::string ini = readFileBytes("FILTARO.INI");
    EXPECT_EQ(ini.rfind(communication, 0), 0u) << ini;
    EXPECT_NE(ini.find("[PLOT]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("View=phase"), std::string::npos) << ini;
}

}  // namespace
