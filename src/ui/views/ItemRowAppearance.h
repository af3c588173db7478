#pragma once
// How an item row tells its state: the row's background, the colour of the
// status strip at its left edge, and whether its content is dimmed. Which
// colour each answer stands for comes from the settings.
//
// | row state                                | background | content |
// | executing                                | executing  | normal  |
// | status display on, item would run        | none       | normal  |
// | status display on, item prevented        | prevented  | dimmed  |
// | normal, odd row (file rows only)         | alternate  | normal  |
// | normal                                   | none       | normal  |
#include <QtGlobal>
#include <cstdint>
#include <optional>

class ItemRowAppearance {
public:
    struct State {
        bool isFileItem = true;
        bool isAlternateRow = false;
        // Simulation, or the live status of a countdown and run.
        bool isStatusDisplayOn = false;
        bool isExecuting = false;
        // The item has been executing in the run going on.
        bool didRunInThisRun = false;
        // A LastExecutionStatus value; nothing when the item was not judged
        // (no parameters: it counts as allowed).
        std::optional<uint32_t> status;
    };

    enum class Background { None, Executing, Prevented, AlternateStripe };
    enum class Strip { Hidden, Clear, Allowed, Prevented };

    static Background background(const State& state);
    static Strip strip(const State& state);
    // A prevented row is dimmed and does not draw its own delimiter.
    static bool isDimmed(const State& state) { return background(state) == Background::Prevented; }
    static double contentAlpha(const State& state, double disabledAlpha) { return isDimmed(state) ? disabledAlpha : 1.0; }
    // The detail line is shown in full rows only.
    static double detailAlpha(const State& state, double disabledAlpha, quint64 listSize);

private:
    static bool isPrevented(const std::optional<uint32_t>& status);
};
