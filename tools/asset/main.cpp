// tamasset: the project's asset tool. Makes the game's art, maps, models, sounds and the bundled
// demo from our own sources, and checks files people make ("tamasset help" lists the commands).
// Each product has a room of its own (pictures, images, maps, models, sounds, demos) whose header
// declares its commands; this file holds the one table of them.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "asset/demos/demos.h"
#include "asset/images/images.h"
#include "asset/maps/maps.h"
#include "asset/models/models.h"
#include "asset/pictures/pictures.h"
#include "asset/sounds/sounds.h"
#include "asset/tool.h"
#include "tam_version.h"

namespace tam::asset {
namespace {

int VersionMain(const Args&) {
    std::puts("tamasset " TAM_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

struct Command {
    const char* word;
    const char* usage;
    CommandMain main;
};

// The commands in the order "help" lists them.
constexpr Command kCommands[] = {
    {"decode",
     "decode IN.tga|IN.bmp|IN.pcx OUT.png|OUT.pam",
     DecodeMain},
    {"demo",
     "demo tour MAP OUT.dem",
     DemoMain},
    {"font",
     "font OUT.tga [REGULAR.ttf BOLD.ttf]   (the HUD font picture; the faces "
     "default to DejaVu Sans Mono)",
     FontMain},
    {"fontpreview",
     "fontpreview OUT.pam [--font FONT.tga | --ttf REGULAR BOLD] [--zoom N] [0:|1:]TEXT...   "
     "(HUD text as the engine draws it, red on black)",
     FontPreviewMain},
    {"icon",
     "icon SIZE OUT.png|OUT.tga   (the program's icon)",
     IconMain},
    {"map",
     "map compile IN.txt [OUT.map] | map decompile IN.map [OUT.txt] | map plan IN OUT.png",
     MapMain},
    {"md2",
     "md2 FILE   print and check an MD2 model",
     Md2Main},
    {"modelpreview",
     "modelpreview ogros|weapon|spawn OUT.pam [FRAME...] [--view VIEW]",
     ModelPreviewMain},
    {"models",
     "models DATA_DIR",
     ModelsMain},
    {"sky",
     "sky OUTDIR   (the five sky faces as TGA)",
     SkyMain},
    {"sound_demo",
     "sound_demo OUT.mp3",
     SoundDemoMain},
    {"sound_shot",
     "sound_shot OUT.wav",
     SoundShotMain},
    {"sound_tone",
     "sound_tone HERTZ SECONDS OUT.mp3",
     SoundToneMain},
    {"sound_tune",
     "sound_tune OUT.mid",
     SoundTuneMain},
    {"textures",
     "textures OUTDIR   (the eight world textures as TGA)",
     TexturesMain},
    {"version",
     "version   (also --version)",
     VersionMain},
};

void PrintUsage(FILE* to) {
    std::fprintf(to, "usage: tamasset COMMAND [ARGS...]\n       tamasset -h | --help | --version\n"
                     "commands:\n");
    for (const Command& c : kCommands) std::fprintf(to, "  %s\n", c.usage);
}

const Command* Find(std::string_view word) {
    for (const Command& c : kCommands)
        if (word == c.word) return &c;
    return nullptr;
}

}  // namespace
}  // namespace tam::asset

int main(int argc, char** argv) {
    using namespace tam::asset;
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string word = argv[1];
    if (word == "help" || word == "-h" || word == "--help") {
        PrintUsage(stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const Command* command = Find(word == "--version" ? "version" : word);
    if (!command) {
        std::fprintf(stderr, "tamasset: unknown command '%s'\n", argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    return command->main(Args(argv + 2, argv + argc));
}
