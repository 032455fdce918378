// The application core: the main window's start-up and shutdown sequences and the frame loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "models/md2.h"
#include "render/skybox.h"

namespace tam {

class ConsoleView;

// Seconds between readings of a counter; the first reading is taken at construction.
class IntervalTimer {
public:
    using Counter = std::function<uint64_t()>;
    IntervalTimer(Counter counter, uint64_t frequency);
    virtual ~IntervalTimer() = default;
    // (now - previous) x scale seconds; now becomes the previous reading.
    double Measure(double scale);

private:
    Counter counter_;
    uint64_t frequency_;
    double previous_ = 0;
};

// The animation clock: two millisecond readings of a wrapping 32-bit counter, and the seconds
// passed since the clock was made (the time the models animate by).
class FrameClock {
public:
    using Reader = std::function<uint32_t()>;
    explicit FrameClock(Reader reader);
    void Advance();  // previous := current; current := a fresh reading
    uint32_t Read() const { return reader_(); }
    float Seconds() const;  // a fresh reading, as seconds since construction
    uint32_t current() const { return current_; }
    uint32_t previous() const { return previous_; }

private:
    Reader reader_;
    uint32_t current_ = 0;
    uint32_t previous_ = 0;
    uint32_t origin_ = 0;
};

struct AppState {
    bool StartupOk = false;
    float FrameTime = 0;
    std::unique_ptr<IntervalTimer> timer;
    std::unique_ptr<FrameClock> clock;  // made by the first frame
    CMD2Model mdlOgros, mdlWeapon, mdlSpawn;
    std::unique_ptr<TSkyBox> skybox;
    // Lines from the program's command line (CP1251), run after autoexec.cfg when start-up
    // succeeded; set before StartUp.
    std::vector<std::string> commandLineLines;
};
AppState& App();

// Connects the platform layer to the lower ones: its window to the render state and the display
// modes, its audio backend to the sound unit, its window events to the key dispatch and the
// console.
void ConnectPlatform();
// Registers the command chain (after emptying it); false when a word was refused as a repeat.
bool RegisterCommandChain();

// The whole start-up sequence once the main window exists, beginning with the two steps above.
// False when start-up failed and the program is to quit after the modal console.
bool StartUp();
// StartUp after ConnectPlatform, with `console` (not owned, kept for the run) as the console's
// window; tests connect stand-ins instead of the platform.
bool RunStartup(ConsoleView* console);
// Shutdown once the message loop has ended: the media devices, OpenGL and the font.
void ShutDown();
// One frame.
void AppIdle(bool& done);

// Mouse-look rates from a pointer delta (degrees per second).
void ApplyMouseLook(int dx, int dy);
// One frame's simulation: mouse look from the pointer movement (dx, dy), then every player's
// movement step over frameTime seconds. The frame loop runs it through SimulateFrame (demo.h).
void StepPlayers(float frameTime, int dx, int dy);
// The first-person camera of a player onto the model-view matrix.
void SetCamera(float x, float y, float z, float pitch, float yaw);

}  // namespace tam
