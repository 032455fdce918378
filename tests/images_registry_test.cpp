// The texture registry through the GL recorder: lookup by the path as typed, the reader chosen by
// extension, the default checkerboard, the upload sequence, and the start-up texture table.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include <fstream>

#include "console/console.h"
#include "console/cp1251.h"
#include "console/files.h"
#include "gl_recorder.h"
#include "images/texture.h"
#include "images/texture_local.h"
#include "images_test_util.h"

namespace tam {
namespace {

namespace fs = std::filesystem;

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
        dir_ = fs::temp_directory_path() / ("tam_registry_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        previousDir_ = ProgramDir();
        SetProgramDir(dir_.string() + "/");
        ResetTextures();
        ResetConsole();
    }
    void TearDown() override {
        ResetTextures();
        SetProgramDir(previousDir_);
        fs::remove_all(dir_);
    }
    void Put(const std::string& from, const std::string& to) {
        fs::create_directories((dir_ / to).parent_path());
        fs::copy_file(fs::path(TAM_TEST_DATA_DIR) / "images" / from, dir_ / to);
    }
    size_t Entries() const { return Tex().registry ? Tex().registry->list.size() : 0; }
    using Rows = std::vector<std::vector<double>>;
    Rows Args(const std::string& name) const {
        Rows out;
        for (const auto& c : rec.Named(name)) out.push_back(c.args);
        return out;
    }

    UploadRecorder rec;
    gl::ScopedBackend backend{&rec};
    fs::path dir_;
    std::string previousDir_;
};

TEST_F(ImagesRegistry, DefaultCheckerboardComesFirstWithAWholeMipmapChain) {
    const uint32_t def = LoadTexture("default");
    ASSERT_EQ(Entries(), 1u);
    EXPECT_EQ(Tex().registry->list[0]->fileName(), "default");
    EXPECT_EQ(Tex().registry->list[0]->name(), def);
    ASSERT_EQ(rec.uploads.size(), 1u);
    EXPECT_EQ(Args("Build2DMipmaps")[0][2] * Args("Build2DMipmaps")[0][3], 64 * 64);
    for (int r = 0; r < 64; ++r)  // 8 x 8 squares, black in the corner
        for (int c = 0; c < 64; ++c)
            ASSERT_EQ(test::PixelAt(rec.uploads[0], 64, c, r)[0], (r / 8 + c / 8) % 2 ? 255 : 0) << r << "," << c;
    // "default" again is answered from the list.
    rec.Clear();
    EXPECT_EQ(LoadTexture("default"), def);
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(ImagesRegistry, LoadUploadsTopRowFirstAndAnswersRepeatsFromTheList) {
    Put("tga_24.tga", "Data/textures/Wall.tga");
    const uint32_t def = LoadTexture("default");
    rec.Clear();
    rec.uploads.clear();
    const uint32_t wall = LoadTexture("Data/textures/Wall.tga");
    EXPECT_NE(wall, def);
    std::vector<std::string> names;
    for (const auto& c : rec.calls) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"GenTexture", "BindTexture", "TexParameteri", "TexParameteri",
                                               "TexParameteri", "TexParameteri", "Build2DMipmaps"}));
    EXPECT_EQ(Args("TexParameteri"), (Rows{{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                           {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR},
                                           {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT},
                                           {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}}));
    EXPECT_EQ(Args("Build2DMipmaps"), (Rows{{GL_TEXTURE_2D, GL_RGBA, 16, 12, GL_RGBA, GL_UNSIGNED_BYTE, 1}}));
    EXPECT_EQ(rec.uploads, (std::vector<std::vector<uint8_t>>{test::ParsePam(test::ReadTestFile("tga_24.tga.pam")).px}));

    // The second request reads nothing: it works with the file gone and makes no GL call.
    fs::remove(dir_ / "Data/textures/Wall.tga");
    rec.Clear();
    EXPECT_EQ(LoadTexture("Data/textures/Wall.tga"), wall);
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(ImagesRegistry, PathsDifferingInCaseAreSeparateEntries) {
    Put("tga_24.tga", "Data/textures/Wall.tga");
    Put("tga_32.tga", "data/textures/Wall.tga");
    EXPECT_NE(LoadTexture("Data/textures/Wall.tga"), LoadTexture("data/textures/Wall.tga"));
    EXPECT_EQ(Entries(), 3u);
    EXPECT_EQ(rec.Count("Build2DMipmaps"), 3u);
}

TEST_F(ImagesRegistry, ExtensionChoosesTheReaderCaseSensitively) {
    // Only lower-case .tga/.bmp and upper-case .TGA/.PCX choose a reader; for dir.tga/x.bmp the BMP
    // reader then the TGA reader run and the TGA reader's outcome decides (as TGA, bmp_24.bmp is
    // image type 118, which nothing decodes).
    const struct {
        const char *from, *to;
        bool loads;
    } cases[] = {{"tga_24.tga", "up.TGA", true},          {"pcx_8.pcx", "skin.PCX", true},
                 {"tga_24.tga", "mixed.Tga", false},      {"tga_24.tga", "noext", false},
                 {"tga_24.tga", "dir.bmp/x.tga", true},   {"bmp_24.bmp", "dir.tga/x.bmp", false}};
    const uint32_t def = LoadTexture("default");
    for (const auto& c : cases) {
        Put(c.from, c.to);
        EXPECT_EQ(LoadTexture(c.to) != def, c.loads) << c.to;
    }
    EXPECT_EQ(Entries(), 4u);
}

TEST_F(ImagesRegistry, FailedPathsAreNotRememberedAndEachFailureIsNamed) {
    const uint32_t def = LoadTexture("default");
    EXPECT_EQ(LoadTexture("Data/textures/none.tga"), def);
    EXPECT_EQ(LoadTexture("Data/textures/none.tga"), def);
    EXPECT_EQ(Entries(), 1u);
    const auto bytes = test::ReadTestFile("tga_24.tga");
    Put("tga_24.tga", "mixed.Tga");
    std::ofstream(dir_ / "cut.tga", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 40);
    EXPECT_EQ(LoadTexture("cut.tga"), def);
    EXPECT_EQ(LoadTexture("mixed.Tga"), def);
    std::string log;
    for (int i = 1; i <= Con().lineCount; ++i) log += Con().log[i];
    const std::string missing = "Texture Data/textures/none.tga not loaded: file not found (default texture used)";
    EXPECT_EQ(log, missing + missing + "Texture cut.tga not loaded: truncated pixel data (default texture used)" +
                       "Texture mixed.Tga not loaded: no reader for its extension (default texture used)");
    // Once the file appears, the same path loads; so does one named in Cyrillic.
    Put("tga_24.tga", "Data/textures/none.tga");
    EXPECT_NE(LoadTexture("Data/textures/none.tga"), def);
    Put("tga_24.tga", "bad/Стена.tga");
    EXPECT_NE(LoadTexture(Utf8ToCp1251("bad/Стена.tga")), def);
    EXPECT_EQ(Entries(), 3u);
}

TEST_F(ImagesRegistry, StartupTableFillsTheWorldAndFontSlots) {
    Put("tga_24.tga", "Data/textures/Wall.tga");
    Put("tga_map.tga", "Data/textures/out.tga");
    Put("tga_32.tga", "Data/Font/Font.tga");
    // Stands in for the interpreter: load_texture stores its result, except for "In.tga",
    // whose command fails and leaves LastLoadedTexture as it was.
    const auto run = [](std::string_view line) {
        const std::string_view word = "load_texture ";
        ASSERT_EQ(line.substr(0, word.size()), word);
        const std::string_view path = line.substr(word.size());
        if (path.ends_with("In.tga")) return;
        Tex().LastLoadedTexture = LoadTexture(path);
    };
    EXPECT_TRUE(textures::LoadDefaultTexturesWith(run));
    const auto& t = Tex();
    const uint32_t def = t.registry->list[0]->name();
    EXPECT_NE(t.WorldTextures[0], def);
    EXPECT_NE(t.WorldTextures[1], def);
    EXPECT_NE(t.WorldTextures[0], t.WorldTextures[1]);
    EXPECT_EQ(t.WorldTextures[2], def);                 // Texture11 missing: the checkerboard
    EXPECT_EQ(t.WorldTextures[3], t.WorldTextures[2]);  // failed command: the previous name
    EXPECT_EQ(t.WorldTextures[7], def);
    EXPECT_NE(t.FontTexture, def);
    EXPECT_EQ(rec.Named("Enable").back().args[0], GL_TEXTURE_2D);
    EXPECT_EQ(rec.Named("TexEnvf").back().args,
              (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}));
    EXPECT_EQ(Con().log[Con().lineCount], "  Textures load ... Ok");
}

TEST_F(ImagesRegistry, ResetDropsTheRegistryWithoutDeletingTextures) {
    LoadTexture("default");
    ResetTextures();
    EXPECT_EQ(rec.Count("DeleteTexture"), 0u);
    EXPECT_FALSE(Tex().registry);
    // Destroying a texture otherwise deletes its name.
    { CTexture t(42, "x"); }
    ASSERT_EQ(rec.Count("DeleteTexture"), 1u);
    EXPECT_EQ(rec.Named("DeleteTexture")[0].args[0], 42);
}

}  // namespace
}  // namespace tam
