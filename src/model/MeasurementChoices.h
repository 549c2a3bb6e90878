#pragma once
// How several measurements of one channel become one curve, and how finely
// it is smoothed: the choices the side file keeps, the overlay draws with and
// the equaliser fit works on (see tuning/Evidence.h and tuning/Smoothing.h
// for what they do).

#include <array>
#include <optional>
#include <string_view>

enum class Averaging { Power, Db, Vector };

// The smoothings offered, as N per octave: none, 1/24, 1/12, 1/6, 1/3.
constexpr std::array<int, 5> SmoothingChoices{0, 24, 12, 6, 3};
constexpr int DefaultSmoothing = 12;

// "power", "db", "vector": the names in the side file and on filtaro-cli's
// command line.
std::string_view averagingName(Averaging averaging);
std::optional<Averaging> averagingFromName(std::string_view name);

// "none", "1/24", "1/12", "1/6", "1/3"; nothing for a smoothing not offered.
std::string_view smoothingName(int perOctave);
std::optional<int> smoothingFromName(std::string_view name);
