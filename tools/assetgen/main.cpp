// larkmere_assetgen OUTDIR: writes the duck model, every picture and every sound the game loads under
// OUTDIR, the same bytes on every run.
#include <FreeImage.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "Assets.h"
#include "DuckModel.h"
#include "SkyBox.h"
#include "Sounds.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

void generate(const fs::path& out) {
    const fs::path models = out / "models", textures = out / "textures", skybox = textures / "skybox";
    const fs::path icons = out / "icons", sounds = out / "sounds";
    fs::create_directories(models);
    fs::create_directories(skybox);
    fs::create_directories(icons);
    fs::create_directories(sounds);

    writeObj(buildDuckMesh(), (models / "Duck.obj").string());
    paintDuckTexture().saveJpeg((textures / "Duck.jpg").string(), 90);
    paintGrassTexture().savePng24((textures / "grass.png").string());
    paintBlackboardTexture().savePng32((textures / "blackboard.png").string());
    for (const SkyboxFace& face : kSkyboxFaces) {
        paintSkyFace(face, false).savePng24((skybox / (std::string(face.name) + ".png")).string());
        paintSkyFace(face, true).savePng24((skybox / (std::string(face.name) + "_night.png")).string());
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        paintIcon(size).savePng32((icons / ("duck-" + std::to_string(size) + ".png")).string());
    for (const Sound& sound : synthesiseSounds()) writeWav(sound, (sounds / (sound.name + ".wav")).string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    FreeImage_Initialise();
    int status = 0;
    try {
        generate(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "larkmere_assetgen: %s\n", e.what());
        status = 1;
    }
    FreeImage_DeInitialise();
    return status;
}
