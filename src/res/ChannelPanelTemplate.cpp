#include "res/DialogTemplates.h"

namespace {

// Every value edit is read-only: values change only through the spins and
// lists. A spin follows its edit directly, since it takes the control before
// it as its buddy and sits at that edit's right edge.
constexpr unsigned ValueEdit = StyleReadOnly | StyleBorder | StyleAutoHScroll | StyleGroup;
constexpr unsigned BuddySpin = StyleAlignBuddy | StyleAutoBuddy | StyleBuddyInt | StyleArrowKeys;
constexpr unsigned List = StyleVScroll | StyleGroup;

constexpr ControlRow rows[] = {
    {1037, ControlKind::Static, "HP:", 11, 10, 12, 8},
    {1017, ControlKind::Edit, "", 25, 8, 35, 12, ValueEdit},
    {1040, ControlKind::Spin, "", 58, 8, 9, 12, BuddySpin},
    {1047, ControlKind::Static, "Hz", 63, 10, 10, 8},
    {1018, ControlKind::DropList, "", 78, 7, 96, 111, List},
    {1048, ControlKind::Static, "dB/Okt", 174, 10, 26, 8},
    {1028, ControlKind::Static, "LP:", 12, 28, 12, 8},
    {1019, ControlKind::Edit, "", 25, 25, 35, 12, ValueEdit},
    {1041, ControlKind::Spin, "", 58, 25, 9, 12, BuddySpin},
    {1029, ControlKind::Static, "Hz", 63, 28, 10, 8},
    {1020, ControlKind::DropList, "", 77, 25, 96, 111, List},
    {1034, ControlKind::Static, "dB/Okt", 174, 29, 26, 8},
    {1036, ControlKind::Static, "Delay:", 3, 46, 21, 8},
    {1030, ControlKind::Edit, "", 25, 43, 35, 12, ValueEdit},
    {1043, ControlKind::Spin, "", 57, 43, 9, 12, BuddySpin},
    {1038, ControlKind::Static, "Taps", 62, 46, 137, 8},
    {1045, ControlKind::Static, "Level:", 4, 64, 20, 8},
    {1059, ControlKind::DropList, "", 25, 60, 35, 222, List},
    {1046, ControlKind::Static, "dB", 62, 64, 10, 8},
    {1024, ControlKind::Edit, "", 79, 60, 29, 12, ValueEdit},
    {1067, ControlKind::Spin, "", 105, 60, 7, 12, BuddySpin},
    {1039, ControlKind::Static, "Input", 111, 63, 88, 8},
    {UnnamedControl, ControlKind::Static, "f0:", 26, 78, 14, 8},
    {UnnamedControl, ControlKind::Static, "Q:", 66, 78, 10, 8},
    {UnnamedControl, ControlKind::Static, "Level:", 102, 78, 22, 8},
    // EQ rows: label, frequency edit + spin, Q list, gain list, "dB".
    {UnnamedControl, ControlKind::Static, "EQ1:", 7, 90, 17, 8},
    {1022, ControlKind::Edit, "", 25, 87, 35, 12, ValueEdit},
    {1052, ControlKind::Spin, "", 58, 87, 9, 12, BuddySpin},
    {1044, ControlKind::DropList, "", 66, 87, 29, 111, List},
    {1056, ControlKind::DropList, "", 101, 87, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 90, 10, 8},
    {UnnamedControl, ControlKind::Static, "EQ2:", 7, 107, 17, 8},
    {1025, ControlKind::Edit, "", 25, 104, 35, 12, ValueEdit},
    {1051, ControlKind::Spin, "", 58, 104, 9, 12, BuddySpin},
    {1054, ControlKind::DropList, "", 66, 104, 29, 111, List},
    {1057, ControlKind::DropList, "", 101, 104, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 107, 10, 8},
    {UnnamedControl, ControlKind::Static, "EQ3:", 7, 124, 17, 8},
    {1031, ControlKind::Edit, "", 25, 121, 35, 12, ValueEdit},
    {1050, ControlKind::Spin, "", 58, 121, 9, 12, BuddySpin},
    {1055, ControlKind::DropList, "", 66, 121, 29, 111, List},
    {1058, ControlKind::DropList, "", 101, 121, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 124, 10, 8},
    {UnnamedControl, ControlKind::Static, "EQ4:", 7, 141, 17, 8},
    {1023, ControlKind::Edit, "", 25, 138, 35, 12, ValueEdit},
    {1053, ControlKind::Spin, "", 58, 138, 9, 12, BuddySpin},
    {1049, ControlKind::DropList, "", 66, 138, 29, 111, List},
    {1060, ControlKind::DropList, "", 101, 138, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 141, 10, 8},
    {UnnamedControl, ControlKind::Static, "EQ5:", 7, 158, 17, 8},
    {1026, ControlKind::Edit, "", 25, 155, 35, 12, ValueEdit},
    {1061, ControlKind::Spin, "", 58, 155, 9, 12, BuddySpin},
    {1062, ControlKind::DropList, "", 66, 155, 29, 111, List},
    {1063, ControlKind::DropList, "", 101, 155, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 158, 10, 8},
    {UnnamedControl, ControlKind::Static, "EQ6:", 7, 175, 17, 8},
    {1032, ControlKind::Edit, "", 25, 172, 35, 12, ValueEdit},
    {1064, ControlKind::Spin, "", 58, 172, 9, 12, BuddySpin},
    {1065, ControlKind::DropList, "", 66, 172, 29, 111, List},
    {1066, ControlKind::DropList, "", 101, 172, 29, 111, List},
    {UnnamedControl, ControlKind::Static, "dB", 130, 175, 10, 8},
    {1068, ControlKind::CheckBox, "LowShelf", 146, 158, 53, 10, StyleGroup},
    {1069, ControlKind::CheckBox, "HighShelf", 146, 174, 47, 10, StyleGroup},
};

}  // namespace

const DialogTemplate channelPanelTemplate{
    ChannelPanelTemplateId, "", 206, 191, DialogFrame::ChildBordered, "MS Sans Serif", 8, rows};
