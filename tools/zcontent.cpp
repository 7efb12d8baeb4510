// zcontent OUTPUT_DIR: writes the generated content of the runnable folder:
// floor textures, vehicle pictures, object atlases, effect pictures, engine,
// horn and ambience sounds, music and the maps.
//
// Everything is computed from fixed formulas and fixed-seed generators, so two
// runs produce byte-identical files.

#include "AmbienceSounds.h"
#include "EffectPictures.h"
#include "FloorTextures.h"
#include "FrameworkTextures.h"
#include "Maps.h"
#include "Music.h"
#include "ObjectAtlases.h"
#include "VehiclePictures.h"
#include "VehicleSounds.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zcontent OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    using namespace content;
    const bool ok = makeFrameworkTextures(root) && makeFloorTextures(root) && makeVehiclePictures(root) &&
                    makeObjectAtlases(root) && makeEffectPictures(root) && makeMaps(root) &&
                    makeVehicleSounds(root) && makeAmbienceSounds(root) && makeMusic(root);
    return ok ? 0 : 1;
}
