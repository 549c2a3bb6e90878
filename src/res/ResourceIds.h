#pragma once
// Resource ids of the program's pictures and of the main frame's resources.

constexpr int MainFrameResourceId = 128;  // menu, accelerators, toolbar, program icon
constexpr int ProgramIconId = 128;
constexpr int ToolbarBitmapId = 128;      // the toolbar's 16 x 15 buttons
constexpr int ReceiveIconId = 152;        // receive button (control 1001)
constexpr int SendIconId = 153;           // send button (control 1000)
constexpr int WelcomeLogoBitmapId = 161;  // 120 x 20 pixels
constexpr int WelcomeBitmapId = 165;      // 300 x 96 pixels
