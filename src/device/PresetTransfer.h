#pragma once
// Moving all four presets of all six channels between the ParameterImage and
// the device in one block. There is no transfer of a single preset or channel.
//
// Whatever went wrong, the user sees one message: "Schnittstelle antwortet
// nicht!" titled "Übertragungsfehler" (showTransferFailure); the result tells
// the caller the real code. Neither function retries.

#include <string>

#include "device/BytePort.h"
#include "device/CommError.h"
#include "device/WireImage.h"

class ParameterImage;

// The pause after a successful send. When the write returns, the block may
// still be leaving the driver's transmit queue (624 bytes take 0.65 s at
// 9600 bit/s), and the purge that opens the next exchange would cut it short;
// the device also gets time to take the block in.
constexpr unsigned SendSettleMs = 6000;

enum class SendPause { AfterSuccess, None };

// Encodes fields 0..4 and 6..25 of all 24 records and sends them, with the
// wait cursor up for the whole transfer and the pause after it.
CommErrorCode sendAllPresets(const ParameterImage& image, BytePort& port,
                             SendPause pause = SendPause::AfterSuccess);
// The same for the block `wire` a caller has encoded already (and keeps, to
// check what the device holds afterwards).
CommErrorCode sendAllPresets(const WireImage& wire, BytePort& port,
                             SendPause pause = SendPause::AfterSuccess);

// Receives the device's block. On success takes it in (takeReceivedBlock);
// on failure the records and the header keep their values and only
// `redrawPending` is set.
CommErrorCode receiveAllPresets(ParameterImage& image, BytePort& port);

// The message of a failed transfer on `port`, titled "Übertragungsfehler":
// "Schnittstelle antwortet nicht!", or, when the port is closed because
// another program holds it (a second window of this one, say), that. A
// device that does not answer and a port that never opened need different
// things of the user.
void showTransferFailure(const BytePort& port);

// "Die Schnittstelle COM3 wird schon von einem anderen Programm benutzt ..." for the
// port a failed open found in use.
std::string portInUseText(const PortOpenFailure& failure);

// What a received block makes of the image: decoded into fields 0..4 and
// 6..25 of all 24 records, `sixChannels` 1 (the device has six) and
// `redrawPending` 1; every `reserved` field is untouched. A dump decoded
// later (filtaro-cli decode) gives the image its receive gave.
void takeReceivedBlock(const WireImage& wire, ParameterImage& image);
