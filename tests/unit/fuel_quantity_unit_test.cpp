// The fuel gauge shows gallons from the captured capacities, each quarter's
// tooltip tells what its needle last showed, and a capacity that later reads
// zero or less keeps the one captured before.
#include "gauges/systems/fuel_tanks.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_panel.h"
#include "model/failures.h"

namespace ardelvine::test {
namespace {

using namespace gauges;

class FuelQuantity : public FakePanel {
protected:
    void SetUp() override {
        FakePanel::SetUp();
        saved_ = FuelTankCapacities;
    }
    void TearDown() override {
        FuelTankCapacities = saved_;
        FakePanel::TearDown();
    }

private:
    FuelTanks saved_{};
};

// Needle n of the chain, its level token and its tooltip's mouse entry and argument.
struct Tank {
    int element;
    std::uint32_t level, capacity;
    std::size_t tooltip_entry, arg;
    double FuelTanks::* field;
};
const Tank kTanks[] = {
    {4, tokens::FUEL_LEFT_MAIN_LEVEL, tokens::FUEL_LEFT_MAIN_CAPACITY, 2, 0, &FuelTanks::left_main},
    {3, tokens::FUEL_RIGHT_MAIN_LEVEL, tokens::FUEL_RIGHT_MAIN_CAPACITY, 5, 1, &FuelTanks::right_main},
    {2, tokens::FUEL_LEFT_AUX_LEVEL, tokens::FUEL_LEFT_AUX_CAPACITY, 8, 2, &FuelTanks::left_aux},
    {1, tokens::FUEL_RIGHT_AUX_LEVEL, tokens::FUEL_RIGHT_AUX_CAPACITY, 11, 3, &FuelTanks::right_aux},
};

// The tanks' capacities in gallons, read when the capacities are captured.
constexpr std::uint32_t kLeftMain = tokens::FUEL_LEFT_MAIN_CAPACITY, kRightMain = tokens::FUEL_RIGHT_MAIN_CAPACITY,
                        kLeftAux = tokens::FUEL_LEFT_AUX_CAPACITY, kRightAux = tokens::FUEL_RIGHT_AUX_CAPACITY;

TEST_F(FuelQuantity, NeedlesShowGallonsAndTooltipsTellThem) {
    FuelTankCapacities = {0, 0, 0, 0};
    tokens = {{kLeftMain, 70.0}, {kRightMain, 50.0}, {kLeftAux, 30.0}, {kRightAux, 20.0}};
    capture_fuel_tank_capacities();
    for (const Tank& t : kTanks) {
        Needle* needle = element_as<Needle>(Fuel_Quantity, t.element);
        SCOPED_TRACE(t.level);
        EXPECT_EQ(needle->source.token, t.level);
        const double capacity = tokens[t.capacity];
        EXPECT_DOUBLE_EQ(evaluate(needle, 4194305.0), capacity / 2);  // half of 8388610
        EXPECT_DOUBLE_EQ(tooltip_number(Fuel_Quantity, t.tooltip_entry, t.arg), capacity / 2);
        EXPECT_EQ(Fuel_Quantity.mouse[t.tooltip_entry].event_id, 4u);
    }
}

TEST_F(FuelQuantity, CapacitiesKeptWhenALaterCaptureReadsNothing) {
    FuelTankCapacities = {0, 0, 0, 0};
    tokens = {{kLeftMain, 70.0}, {kRightMain, 50.0}, {kLeftAux, 30.0}, {kRightAux, 20.0}};
    capture_fuel_tank_capacities();
    tokens = {{kLeftMain, 0.0}, {kRightMain, -5.0}, {kLeftAux, 25.0}};
    capture_fuel_tank_capacities();
    EXPECT_EQ(FuelTankCapacities.left_main, 70.0);
    EXPECT_EQ(FuelTankCapacities.right_main, 50.0);
    EXPECT_EQ(FuelTankCapacities.left_aux, 25.0);
    EXPECT_EQ(FuelTankCapacities.right_aux, 20.0);
}

TEST_F(FuelQuantity, EmptyUntilCapturedAndFailuresPerNeedle) {
    FuelTankCapacities = {0, 0, 0, 0};
    for (const Tank& t : kTanks) {
        Needle* needle = element_as<Needle>(Fuel_Quantity, t.element);
        EXPECT_EQ(evaluate(needle, 8388610.0), 0.0);
        EXPECT_EQ(tooltip_number(Fuel_Quantity, t.tooltip_entry, t.arg), 0.0);
        const FailureRecord* f = needle->header.failures;
        EXPECT_EQ((std::vector<std::uint32_t>{f[0].key, f[0].action, f[1].key, f[1].action, f[2].key}),
                  (std::vector<std::uint32_t>{failures::ENGINE, FAIL_NONE, failures::ELECTRICAL, FAIL_ZERO, 0}));
    }
    EXPECT_EQ(chain_length(Fuel_Quantity), 6);
}

}  // namespace
}  // namespace ardelvine::test
