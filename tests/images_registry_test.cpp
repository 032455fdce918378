// The texture registry through the GL recorder: lookup by the path as typed, the reader chosen by
// extension, the default checkerboard, the upload sequence, and the start-up texture table.

#include <unistd.h>

#include <set>

#include "command_fixture.h"
#include "images/readers.h"
#include "images/texture_local.h"

namespace tam {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<test::Call>;

// Keeps the pixels of every upload as well as the calls.
class UploadRecorder : public test::GlRecorder {
public:
    std::vector<std::vector<uint8_t>> uploads;
    void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h, GLenum format,
                        GLenum type, const void* pixels) override {
        GlRecorder::Build2DMipmaps(target, internalFormat, w, h, format, type, pixels);
        const auto* p = static_cast<const uint8_t*>(pixels);
        uploads.emplace_back(p, p + static_cast<size_t>(w) * h * 4);
    }
};

// A fresh registry over a program folder of its own, holding copies of the test pictures.
class ImagesRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextures();
        ResetConsole();
    }
    void TearDown() override { ResetTextures(); }
    void Put(const std::string& from, const std::string& to) {
        fs::create_directories((dir_ / to).parent_path());
        fs::copy_file(fs::path(TAM_TEST_DATA_DIR) / "images" / from, dir_ / to);
    }

    UploadRecorder rec;
    gl::ScopedBackend backend{&rec};
    test::ScratchProgramDir scratch_;
    const fs::path& dir_ = scratch_.path;
};

// The checkerboard first, then each path (as typed: case counts) uploaded once, top row first.
TEST_F(ImagesRegistry, UploadsEachPathOnceAndAnswersRepeatsFromTheList) {
    Put("tga_24.tga", "Data/textures/Wall.tga");
    Put("tga_32.tga", "data/textures/Wall.tga");
    const uint32_t def = LoadTexture("default");
    ASSERT_EQ(rec.uploads.size(), 1u);
    ASSERT_EQ(rec.uploads[0].size(), 64u * 64 * 4);
    for (int r = 0; r < 64; ++r)  // 8 x 8 squares, black in the corner
        for (int c = 0; c < 64; ++c)
            ASSERT_EQ(rec.uploads[0][(r * 64 + c) * 4], (r / 8 + c / 8) % 2 ? 255 : 0) << r << " " << c;
    rec.Clear();
    const uint32_t wall = LoadTexture("Data/textures/Wall.tga");
    EXPECT_NE(wall, def);
    EXPECT_EQ(rec.Seq(), (Calls{{"GenTexture", {}}, {"BindTexture", {GL_TEXTURE_2D, double(wall)}},
                                {"TexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}},
                                {"TexParameteri",
                                 {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR}},
                                {"TexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT}},
                                {"TexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}},
                                {"Build2DMipmaps",
                                 {GL_TEXTURE_2D, GL_RGBA, 16, 12, GL_RGBA, GL_UNSIGNED_BYTE, 1}}}));
    std::vector<uint8_t> rgba;  // the reader itself is checked against an independent decoder
    LoadTGA(*ReadWholeFile(TAM_TEST_DATA_DIR "/images/tga_24.tga"), &rgba, nullptr, nullptr, true);
    EXPECT_EQ(rec.uploads.back(), rgba);
    const uint32_t lower = LoadTexture("data/textures/Wall.tga");
    EXPECT_TRUE(lower != wall && lower != def);
    // Repeats read nothing: they work with the file gone and make no GL call.
    fs::remove(dir_ / "Data/textures/Wall.tga");
    rec.Clear();
    EXPECT_EQ(std::tuple(LoadTexture("default"), LoadTexture("Data/textures/Wall.tga")), std::tuple(def, wall));
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(Tex().registry->list.size(), 3u);
    // Reset drops the registry without deleting the textures; destroying a texture otherwise does.
    ResetTextures();
    EXPECT_FALSE(Tex().registry);
    EXPECT_EQ(rec.Count("DeleteTexture"), 0u);
    { CTexture t(42, "x"); }
    EXPECT_EQ(rec.Seq(), (Calls{{"DeleteTexture", {42}}}));
}

// .bmp, .tga and .pcx choose a reader in all-lower or all-upper case only (dir.tga/x.bmp: the TGA
// reader decides, and bmp_24.bmp has width 0 to it). Each failure is named; no failed path is kept.
TEST_F(ImagesRegistry, ExtensionChoosesTheReaderCaseSensitivelyAndEachFailureIsNamed) {
    const struct {
        const char *from, *to, *why;
        size_t cut = 0;  // keep only this many bytes
    } cases[] = {{"tga_24.tga", "up.TGA", nullptr}, {"pcx_8.pcx", "skin.PCX", nullptr},
                 {"bmp_24.bmp", "up.BMP", nullptr}, {"pcx_8.pcx", "skin.pcx", nullptr},
                 {"tga_24.tga", "dir.bmp/x.tga", nullptr},
                 {"tga_24.tga", "mixed.Tga", "no reader for its extension"},
                 {"tga_24.tga", "noext", "no reader for its extension"},
                 {"bmp_24.bmp", "dir.tga/x.bmp", "width or height below 1"},
                 {nullptr, "Data/textures/none.tga", "file not found"},
                 {"tga_24.tga", "cut.tga", "truncated pixel data", 40}};
    const uint32_t def = LoadTexture("default");
    for (const auto& c : cases) {
        if (c.from) Put(c.from, c.to);
        if (c.cut) fs::resize_file(dir_ / c.to, c.cut);
        ResetConsole();
        EXPECT_EQ(LoadTexture(c.to) != def, !c.why) << c.to;
        const std::string why = c.why ? std::string(" not loaded: ") + c.why + " (default texture used)" : "";
        EXPECT_EQ(test::ConsoleText(), c.why ? "Texture " + std::string(c.to) + why : "") << c.to;
    }
    EXPECT_EQ(Tex().registry->list.size(), 6u);
    Put("tga_24.tga", "Data/textures/none.tga");
    EXPECT_NE(LoadTexture("Data/textures/none.tga"), def);
}

TEST_F(ImagesRegistry, StartupTableFillsTheWorldAndFontSlots) {
    for (const char* to : {"Data/textures/Wall.tga", "Data/textures/out.tga", "Data/textures/Texture11.tga",
                           "Data/Font/Font.tga"})
        Put("tga_24.tga", to);
    // Stands in for the interpreter: load_texture stores its result, except for "In.tga",
    // whose command fails and leaves LastLoadedTexture as it was.
    const auto run = [](std::string_view line) {
        ASSERT_TRUE(line.starts_with("load_texture "));
        if (!line.ends_with("In.tga")) Tex().LastLoadedTexture = LoadTexture(line.substr(13));
    };
    EXPECT_TRUE(textures::LoadDefaultTexturesWith(run));
    const auto& t = Tex();
    const uint32_t def = t.registry->list[0]->name();
    const auto& world = t.WorldTextures;
    EXPECT_EQ(std::set<uint32_t>({def, world[0], world[1], world[2], t.FontTexture}).size(), 5u);
    EXPECT_EQ(world[3], world[2]);                                    // failed command: the previous name
    EXPECT_EQ(std::tuple(world[4], world[7]), std::tuple(def, def));  // missing files
    EXPECT_EQ(rec.Seq(rec.calls.size() - 2),
              (Calls{{"Enable", {GL_TEXTURE_2D}},
                     {"TexEnvf", {GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}}}));
    EXPECT_EQ(Con().log[Con().lineCount], "  Textures load ... Ok");
}

}  // namespace
}  // namespace tam
