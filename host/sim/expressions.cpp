// The expressions the host answers: the aircraft's identifier for the
// registration plate, and hydraulic pressure for the hydraulic gauge's tooltip.
#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

bool atc_id(const Simulation& sim, double*, const char** text) {
    if (text != nullptr) *text = sim.atc_id.c_str();
    return true;
}

// The simulation keeps pounds per square foot.
bool hydraulic_psi(const Simulation& sim, double* number, const char**) {
    if (number != nullptr) *number = sim.token(tokens::HYDRAULIC_PRESSURE) / 144.0;
    return true;
}

constexpr ExpressionAnswer kAnswers[] = {
    {"(A:ATCID,STRING)", atc_id},
    {"(A:HYDRAULICPRESSURE,PSI)", hydraulic_psi},
};

}  // namespace

std::span<const ExpressionAnswer> expression_answers() { return kAnswers; }

}  // namespace ardelvine::hostapp::sim
