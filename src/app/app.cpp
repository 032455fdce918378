// The main window's start-up and shutdown sequences and the frame loop (one frame per idle call).
#include "app/app.h"

#include <cmath>

#include "app/demo.h"
#include "app/players.h"
#include "console/commands.h"
#include "console/console.h"
#include "console/exec.h"
#include "base/files.h"
#include "console/settings.h"
#include "images/texture.h"
#include "input/keys.h"
#include "media/display.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/gl_api.h"
#include "render/opengl.h"
#include "render/screenshot.h"
#include "world/map.h"

namespace tam {
namespace {

constexpr float kEyeHeight = 1.5f;
constexpr int kMouseCentreX = 400, kMouseCentreY = 300;

struct ModelSetup {
    CMD2Model AppState::*model;
    const char* mesh;
    const char* skin;
    int animation;
    bool scaleFirst;  // the Spawn model takes its scale before its animation
};

constexpr ModelSetup kModels[] = {
    {&AppState::mdlOgros, "Data/Models/Ogros/Ogros.md2", "Data/Models/Ogros/igdosh.pcx", 0, false},
    {&AppState::mdlWeapon, "Data/Models/Ogros/Weapon.md2", "Data/Models/Ogros/Weapon.pcx", 0, false},
    {&AppState::mdlSpawn, "Data/Models/Spawn/Spawn.md2", "Data/Models/Spawn/Spawn.tga", 9, true},
};

constexpr const char* kSkyFaces[] = {
    "load_texture Data/Sky/Ft.tga", "load_texture Data/Sky/lf.tga", "load_texture Data/Sky/bk.tga",
    "load_texture Data/Sky/rt.tga", "load_texture Data/Sky/up.tga",
};

IntervalTimer& Timer() {
    AppState& a = App();
    if (!a.timer)
        a.timer = std::make_unique<IntervalTimer>(platform::PerfCounter, platform::PerfFrequency());
    return *a.timer;
}

void LoadModels() {
    AppState& a = App();
    for (const ModelSetup& m : kModels) {
        CMD2Model& model = a.*(m.model);
        model.LoadMd2(m.mesh);
        model.SetSkin(m.skin);
        if (m.scaleFirst) model.SetScale(0.25f);
        model.SelectAnimation(m.animation);
        if (!m.scaleFirst) model.SetScale(0.25f);
    }
}

void BuildSkybox() {
    AppState& a = App();
    a.skybox = std::make_unique<TSkyBox>();
    a.skybox->SetSize(90.0f);
    uint32_t faces[5] = {};
    for (int i = 0; i < 5; ++i) {
        ExecuteCommand(kSkyFaces[i]);
        faces[i] = Tex().LastLoadedTexture;
    }
    a.skybox->SetTextures(faces[0], faces[1], faces[2], faces[3], faces[4], 1);
    // The faces are clamped at their edges: repeat wrapping would filter each face's opposite
    // edge into the cube's seams. The default texture (a face that did not load) is shared by
    // everything that failed, so it keeps its wrapping.
    const uint32_t fallback = LoadTexture("default");
    gl::Backend& g = gl::Api();
    for (uint32_t face : faces) {
        if (face == 0 || face == fallback) continue;
        g.BindTexture(GL_TEXTURE_2D, face);
        g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
}

MouseButton ToMouseButton(platform::Button button) {
    switch (button) {
        case platform::Button::Left: return MouseButton::Left;
        case platform::Button::Middle: return MouseButton::Middle;
        default: return MouseButton::Right;
    }
}

// The windows' input: the main window's to the key dispatch, the console window's to the console.
class AppWindowEvents final : public platform::WindowEvents {
public:
    void MainKeyDown(int key) override { KeyDown(key); }
    void MainKeyUp(int key) override { KeyUp(key); }
    void MainButtonDown(platform::Button b) override { MouseButtonDown(ToMouseButton(b)); }
    void MainButtonUp(platform::Button b) override { MouseButtonUp(ToMouseButton(b)); }
    void MainWheel(int delta) override { MouseWheel(delta); }
    void ConsoleKeyDown(int key) override { tam::ConsoleKeyDown(key); }
    void ConsoleCharacter(uint8_t ch) override { ConsoleKeyPress(ch); }
    void ConsoleDeactivated() override { ConsoleDeactivate(); }
    void ConsoleClosed() override { ConsoleHide(); }
};

void ShowConsoleAtStart(ConsoleView* view) {
    ConsoleConstruct(view);
    ConsoleShow();
    ConsoleHide();
    ConsoleShow();  // shows at (0, 0)
    ConsoleRefresh();
}

}  // namespace

IntervalTimer::IntervalTimer(Counter counter, uint64_t frequency)
    : counter_(std::move(counter)), frequency_(frequency ? frequency : 1) {
    previous_ = static_cast<double>(counter_()) / static_cast<double>(frequency_);
}

double IntervalTimer::Measure(double scale) {
    const double now = static_cast<double>(counter_()) / static_cast<double>(frequency_);
    const double elapsed = (now - previous_) * scale;
    previous_ = now;
    return elapsed;
}

FrameClock::FrameClock(Reader reader) : reader_(std::move(reader)) {
    current_ = reader_();
    origin_ = current_;
}

void FrameClock::Advance() {
    previous_ = current_;
    current_ = reader_();
}

float FrameClock::Seconds() const {
    // The counter wraps at 2^32 ms; an unsigned difference stays right across the wrap.
    return static_cast<float>(static_cast<uint32_t>(reader_() - origin_)) * 0.001f;
}

AppState& App() {
    static AppState state;
    return state;
}

void ConnectPlatform() {
    static AppWindowEvents events;
    RenderState().window = &platform::MainGlWindow();
    Media().device = &platform::Display();
    audio::SetBackend(&platform::SdlAudio());
    platform::SetWindowEvents(&events);
}

bool StartUp() {
    ConnectPlatform();
    return RunStartup(platform::CreateConsoleWindow());
}

bool RunStartup(ConsoleView* console) {
    AppState& a = App();
    RegisterCommandChain();
    Interp().reportError = platform::ReportError;
    Timer();
    a.StartupOk = true;
    ShowConsoleAtStart(console);
    ConsolePrint("Software Initializating...", true);
    ConsolePrint("  OpenGL initialization...", true);
    a.StartupOk = InitOpenGL() && a.StartupOk;
    ConsolePrint("  Loading Textures...", true);
    LoadDefaultTextures();
    ConsolePrint("  Initializating Software Input...", true);
    InitKeyTable();
    ConsolePrint("  DirectX initialization...", true);
    a.StartupOk = InitMediaDevices() && a.StartupOk;
    ConsolePrint("  Font initialization...", true);
    BuildFontLists(Tex().FontTexture);
    ConsolePrint("  Other Initializations...", true);
    ConsolePrint("Software Initializated successfully", true);
    ConsolePrint(SeparatorLine(), true);
    ConsoleRefresh();
    if (a.StartupOk) {
        ExecuteCommand("load_map Data/Maps/isengard.map");
    } else {
        ConsoleHide();
        if (Con().view) Con().view->ShowModal();
        platform::RequestQuit();
    }
    platform::SetCursorPos(kMouseCentreX, kMouseCentreY);
    LoadModels();
    BuildSkybox();
    ExecuteCommand("fog -");
    if (a.StartupOk) {
        RunAutoexec();
        for (const std::string& line : a.commandLineLines) RunLineReportingErrors(line);
    }
    return a.StartupOk;
}

void ShutDown() {
    ShutdownMediaDevices();
    ShutdownOpenGL();
    FreeFontLists();
}

void ApplyMouseLook(int dx, int dy) {
    PlayerRecord& p = CurrentRecord();
    const double s = Config().sensitivity;
    p.yawRate = static_cast<float>(dx * s * 3.0 * 0.1);
    p.pitchRate = static_cast<float>(-dy * s * 3.0 * 0.1);
}

void StepPlayers(float frameTime, int dx, int dy) {
    ApplyMouseLook(dx, dy);
    for (int i = 0; i < Plr().PlayerCount; ++i) MovePlayer(i, frameTime);
}

void SetCamera(float x, float y, float z, float pitch, float yaw) {
    gl::Backend& g = gl::Api();
    g.LoadIdentity();
    g.Rotatef(-pitch, 1, 0, 0);
    g.Rotatef(yaw, 0, 0, 1);
    g.Translatef(-x, -y, -z - kEyeHeight);
}

void AppIdle(bool& done) {
    done = false;
    AppState& a = App();
    a.FrameTime = static_cast<float>(Timer().Measure(1.0));

    int dx = 0, dy = 0;
    platform::TakeMouseDelta(dx, dy);
    SimulateFrame(a.FrameTime, dx, dy);

    gl::Backend& g = gl::Api();
    g.ClearColor(0, 0, 0, 1);
    g.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const PlayerRecord& p = CurrentRecord();
    SetCamera(p.x, p.y, p.z, p.pitch, p.yaw);
    DrawMap(a.FrameTime);
    if (a.skybox) a.skybox->Draw(p.x, p.y, p.z);

    if (!a.clock) a.clock = std::make_unique<FrameClock>(platform::ElapsedMilliseconds);
    a.clock->Advance();
    const float t = a.clock->Seconds();
    g.Rotatef(180, 0, 0, 1);
    g.Translatef(-35, -65, 4);
    a.mdlOgros.Draw(t);
    a.mdlWeapon.Draw(t);
    g.Translatef(0, 10, 0);
    a.mdlSpawn.Draw(t);

    g.Color3f(1, 0, 0);
    PrintText(10, 50, 1, "X       : %0.1f", static_cast<double>(p.x));
    PrintText(10, 30, 1, "Y       : %0.1f", static_cast<double>(p.y));
    PrintText(10, 10, 0, "FPS     : %0.1f", a.FrameTime > 0 ? 1.0 / a.FrameTime : 0.0);

    TakePendingScreenshot();
    platform::SwapMainWindow();
}

}  // namespace tam
