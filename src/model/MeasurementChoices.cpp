#include "model/MeasurementChoices.h"

namespace {

constexpr std::array<std::string_view, 3> AveragingNames{"power", "db", "vector"};
constexpr std::array<std::string_view, SmoothingChoices.size()> SmoothingNames{
    "none", "1/24", "1/12", "1/6", "1/3"};

}  // namespace

std::string_view averagingName(Averaging averaging) {
    return AveragingNames[static_cast<std::size_t>(averaging)];
}

std::optional<Averaging> averagingFromName(std::string_view name) {
    for (std::size_t k = 0; k < AveragingNames.size(); ++k) {
        if (AveragingNames[k] == name) return static_cast<Averaging>(k);
    }
    return std::nullopt;
}

std::string_view smoothingName(int perOctave) {
    for (std::size_t k = 0; k < SmoothingChoices.size(); ++k) {
        if (SmoothingChoices[k] == perOctave) return SmoothingNames[k];
    }
    return {};
}

std::optional<int> smoothingFromName(std::string_view name) {
    for (std::size_t k = 0; k < SmoothingChoices.size(); ++k) {
        if (SmoothingNames[k] == name) return SmoothingChoices[k];
    }
    return std::nullopt;
}
