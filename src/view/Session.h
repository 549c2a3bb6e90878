#pragma once
// What one run of the program works on: the ParameterImage, the current file
// and the port to the device. The application object owns the session for
// the whole run and hands it to the main view, which allocates the image at
// start-up and frees it after the save at program end.

#include <memory>
#include <optional>
#include <string>

#include "device/BytePort.h"
#include "model/ParameterImage.h"
#include "storage/SideFile.h"

// The port the view's commands reach the device through: the application's
// serial port, or any other byte stream with its semantics (tests hand in the
// simulator's port in memory).
using SessionPort = BytePort;

struct Session {
    explicit Session(SessionPort& devicePort) : port(devicePort) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    SessionPort& port;
    // Null before the view's start-up and after the save at program end.
    std::unique_ptr<ParameterImage> image;
    // The full path of the current file: the one opened or saved last, or
    // "Filtaro.dat" in the start-up directory. The save at program end goes
    // there; the title shows its name part.
    std::string fileName;
    // The current directory when the program started, where "FILTARO.INI"
    // and "Filtaro.dat" live.
    std::string startupDirectory;
    // What the device holds as far as this run knows (received, compared or
    // sent since the port was opened): the image with the device's records.
    std::optional<ParameterImage> deviceSettings;
    // What the parameter file cannot hold (channel names, measurements, the
    // overlay's options): read with the current file, written beside it
    // whenever it is saved, reset by New.
    SideFile side;
};
