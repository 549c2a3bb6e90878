#pragma once
// The alignment as numbers: the chosen channels in frequency order, the
// crossovers between them, the region's grid points, each driver's
// measurement there, the target, and the score of a sum. Internal to the
// tuning layer.

#include <array>
#include <complex>
#include <string>
#include <vector>

#include "response/ComplexResponse.h"
#include "tuning/CrossoverAlign.h"

// Where two neighbouring channels meet: the low-pass of `lower` and the
// high-pass of `upper` (channel indices).
struct AlignJunction {
    int lower = 0;
    int upper = 0;
    double frequencyHz = 0.0;  // the present crossover frequency
};

// The settings of one crossover: the lower channel's low-pass and the upper
// channel's high-pass.
struct CrossoverChoice {
    int lpFrequency = 0;
    int lpType = 0;
    int hpFrequency = 0;
    int hpType = 0;
    friend bool operator==(const CrossoverChoice&, const CrossoverChoice&) = default;
};

struct AlignProblem {
    std::array<ChannelRecord, ChannelCount> records;
    std::vector<int> order;                // the chosen channels, lowest first
    std::vector<AlignJunction> junctions;  // junction i: order[i] and order[i + 1]
    int held = 0;
    bool phase = false;  // every chosen measurement has phase
    FrequencyRange region;
    int first = 0;  // the region's grid points: first .. first + hz.size() - 1
    std::vector<double> hz;
    std::vector<double> target;  // dB; its level included when fixed
    std::vector<double> shape;   // the same without the outer crossover
    bool levelFree = true;
    // Each chosen driver at the region's points: the measured pressure (its
    // phase only when `phase`).
    std::array<std::vector<std::complex<double>>, ChannelCount> measured;
};

struct AlignBuild {
    bool ok = false;
    AlignProblem problem;
    std::string error;  // German
};

AlignBuild buildAlignProblem(const AlignInput& input);

CrossoverChoice choiceOf(const AlignProblem& p, const AlignJunction& j,
                         const std::array<ChannelRecord, ChannelCount>& records);
void applyChoice(const AlignJunction& j, const CrossoverChoice& c,
                 std::array<ChannelRecord, ChannelCount>& records);

// Accumulates the score of one sum point by point.
class AlignScorer {
public:
    explicit AlignScorer(const AlignProblem& p) : m_p(p) {}
    // |sum|^2 and the power sum at point i.
    void add(int i, double sumPower, double powerSum);
    double scoreDb() const;
    double targetLevelDb() const;

private:
    const AlignProblem& m_p;
    double m_e1 = 0.0;
    double m_e2 = 0.0;
    double m_c2 = 0.0;
};

// The chosen channels' predictions with `records` as set (response model
// exactly as the plot computes it), their sum and its score.
struct ExactSum {
    double scoreDb = 0.0;
    double targetLevelDb = 0.0;
    std::vector<std::complex<double>> sum;
};
ExactSum exactSum(const AlignProblem& p, const std::array<ChannelRecord, ChannelCount>& records);

// "Kanal 2".
std::string channelText(int channel);
