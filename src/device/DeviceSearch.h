#pragma once
// Finds the port the device is on by probing COM1 to COM255 in turn, and
// records it as "Port" in "FILTARO.INI". The search cannot be interrupted: it
// ends at the first port whose device passes the probe, or after COM255.

class BytePort;

constexpr int SearchFirstPort = 1;
constexpr int SearchLastPort = 255;

// Shows the wait cursor and "Suche an COM n" (a blank before the number) for
// each port with the number of ports probed so far as its progress, opens it
// at the configured rate (closing whatever was open) and probes it. On
// success shows "Gerät an Port COMn gefunden!", writes the port to the INI
// file and leaves the port open; otherwise shows the failure message once,
// after COM255, and leaves the INI file alone. Returns the port number
// found, or 0.
int searchDevice(BytePort& port);
