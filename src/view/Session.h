#pragma once
// What one run of the program works on: the ParameterImage, the name of the
// current file and the port to the device. The application object owns the
// session for the whole run and hands it to the main view, which allocates
// the image at start-up and frees it after the save at program end.

#include <memory>
#include <string>

#include "device/BytePort.h"
#include "model/ParameterImage.h"

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
    // The name part only; the save at program end writes it into the image's
    // working directory.
    std::string fileName;
};
