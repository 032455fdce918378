// Placeholder: start-up, shutdown and the frame loop are being written.
#include "app/app.h"

namespace tam {

IntervalTimer::IntervalTimer(Counter counter, uint64_t frequency)
    : counter_(std::move(counter)), frequency_(frequency), previous_(0) {}
double IntervalTimer::Measure(double) { return 0; }
FrameClock::FrameClock(Reader reader) : reader_(std::move(reader)), current_(0) {}
void FrameClock::Advance() {}
AppState& App() {
    static AppState a;
    return a;
}
bool FrmMainCreate() { return false; }
void FormDestroy() {}
void AppIdle(bool& done) { done = false; }
void ApplyMouseLook(int, int) {}
void SetCamera(float, float, float, float, float) {}

}  // namespace tam
