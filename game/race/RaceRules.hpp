#pragma once

#include <glm/mat4x4.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

enum class RaceState : std::int32_t
{
    Waiting = 0,
    Countdown = 1,
    Racing = 2,
    Finished = 3,
};

inline constexpr std::size_t opponentCount = 5;
// The lap that the lap tracker reports once the third lap is done.
inline constexpr int finishLap = 4;
inline constexpr float countdownSeconds = 4.0f;

// What a race decides from frame to frame, apart from the window, the world and
// the sound: the state, the clock, the HUD tick and the player's place. The
// race scene calls these in the order of its update.
class RaceRules
{
public:
    // Whether this frame is a HUD tick: at most one tick per frame, every 1/60 s
    // of accumulated time; the time of ticks that a long frame skipped is dropped.
    bool tickHud(float deltaTime);
    // A countdown whose clock the previous frame left above 0 becomes the race;
    // true on that frame, when the music starts.
    bool startRacingIfDue();
    // Once the lap tracker reports the finish lap, the player finishes, exactly
    // once; true on that frame, when the ghost is saved and the result printed.
    bool finishIfDue(int hudLap);
    // The clock runs in every state but Waiting.
    void advanceClock(float deltaTime);
    // An opponent (slot below opponentCount) whose playback has ended is
    // counted, once, as ahead of the player; true while it still plays.
    bool updateOpponent(std::size_t slot, bool playbackFinished);
    // The countdown starts only while waiting; true when it did.
    bool startCountdown();

    RaceState state() const;
    float clock() const;
    // The opponents counted so far; from the finish on, one more: the player's place.
    std::uint32_t place() const;
    bool isFinishHandled() const;
    bool isOpponentFinished(std::size_t slot) const;

private:
    RaceState raceState = RaceState::Waiting;
    float raceClock = -countdownSeconds;
    float hudTickAccumulator = 0.0f;
    std::uint32_t playerPlace = 0;
    bool finishHandled = false;
    std::array<bool, opponentCount> opponentFinished{};
};

// F3 and F4: the music volume one step up or down, kept within [0, 1].
float steppedVolume(float volume, double step);
// Up and Down: the free camera's speed factor, without bounds.
float steppedCameraSpeed(float speed, double step);

// "mm:ss.hh" of the clock, held at "99:59.99" so it always fits the eight
// characters of the clock's text mesh.
std::string clockText(float seconds);
// The speedometer needle turned by the speed (half a turn at 140 km/h) about
// the speedometer's centre, in pixels.
glm::mat4 needleMatrix(float speedKmh, float centreX, float centreY);
// The result lines printed at the finish, after whether the ghost was saved.
std::string finishLines(bool ghostSaved, std::uint32_t place, float clock);
