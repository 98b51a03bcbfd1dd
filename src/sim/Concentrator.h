// Concentrator modules on the panel's bus: small field units that gather 8
// inputs, drive 8 outputs, or both. The tool questions one through the "X"
// command with the loop letter "M", a sub-command and the unit's bus address
// (the class and number of its module-directory byte, without bit 5) as
// the first value:
//   9  model text            10  firmware version text
//   1  state: power supply (0 good, 1 faulty), enclosure (0 closed, 1 open),
//      communication errors, then 8 input states (0 quiescent, 1 alarm,
//      2 open circuit, 3 short circuit, 4 disabled) for units with inputs and
//      8 output states (0 off, 1 on, 2 faulty) for units with outputs.
// A bus address where no unit is fitted answers 129, like a missing loop
// module; an unknown sub-command 130.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/LoopModule.h"

namespace vimo::sim {

inline constexpr uint8_t kConcentratorLetter = 'M';

struct Concentrator {
    uint8_t address = 0;
    bool inputs = false;
    bool outputs = false;
    std::string model;
    std::string version;
    uint8_t supply = 0;
    uint8_t enclosure = 0;
    uint8_t commErrors = 0;
    std::array<uint8_t, 8> in{};
    std::array<uint8_t, 8> out{};
};

// The units fitted on every simulated panel: input units at bus addresses 3
// and 14, an output unit at 17. (The demonstration plant also declares a
// mixed unit at 25 that is not fitted.)
std::vector<Concentrator> FittedConcentrators();

LoopAnswer AnswerConcentrator(const std::vector<Concentrator>& units, int sub, std::span<const uint8_t> values);

}  // namespace vimo::sim
